#pragma once
// Where the boxes of the settings panel's rows go: 18 pixels high on a 22-pixel pitch from 3
// pixels down, one name column whose width follows the widest label, then the function,
// modifier and repeat columns of 175, 110 and 40 pixels, 5 pixels apart.
#include <vector>

namespace padwright {

struct BoxPlace {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
};

struct RowPlace {
    BoxPlace Name, Function, Modifier, Repeat;
};

class SettingsRowLayout {
public:
    static constexpr int RowTop = 3;
    static constexpr int RowPitch = 22;
    static constexpr int RowHeight = 18;
    static constexpr int Gap = 5;
    static constexpr int NameLeft = 2;
    static constexpr int FunctionWidth = 175;
    static constexpr int ModifierWidth = 110;
    static constexpr int RepeatWidth = 40;

    // Places a row whose label is `textWidth` pixels wide. True when the label widened the name
    // column, so that every earlier row moved as well.
    bool Add(int textWidth);
    void Clear() { rows_.clear(); }
    const std::vector<RowPlace>& Rows() const { return rows_; }
    // The area the rows take, from the panel's top left corner.
    int Width() const { return rows_.empty() ? 0 : rows_.front().Repeat.Right(); }
    int Height() const { return rows_.empty() ? 0 : rows_.back().Repeat.Bottom(); }

private:
    std::vector<RowPlace> rows_;
};

} // namespace padwright
