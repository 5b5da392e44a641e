#pragma once
// A main window over recorders and fake dialogs, and the means to answer modal dialogs and menus
// from inside their own event loops.
#include "core/Core.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/dinput/ScriptedDevice.h"
#include "platform/eventloop/QtEventLoop.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "ui/common/DialogTexts.h"
#include "ui/frmMain.h"

#include <map>

#include <QString>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace padwright::test {

enum class BoxIcon { Warning, Error };

struct ShownBox {
    QString text;
    QString title;
    BoxIcon icon;
    bool operator==(const ShownBox&) const = default;
};

class FakeDialogs : public IUserDialogs {
public:
    void Warning(std::string_view text, std::string_view title) override {
        Shown({QString::fromUtf8(text), QString::fromUtf8(title), BoxIcon::Warning});
    }
    void Error(std::string_view text) override {
        Shown({QString::fromStdString(ErrorBoxText(text)), QStringLiteral("Padwright"),
               BoxIcon::Error});
    }
    QMessageBox::StandardButton Question(const QString& text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override {
        questions.push_back(text);
        return answer;
    }
    std::optional<QString> OpenProfileFile() override { return Next(); }
    std::optional<QString> SaveProfileFile() override { return Next(); }

    std::vector<ShownBox> boxes;
    // Answers of the file dialogs in turn; nothing left means Cancel.
    std::deque<std::optional<QString>> fileAnswers;
    std::function<void()> onBox;
    std::vector<QString> questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel; // to every question

private:
    void Shown(ShownBox box) {
        boxes.push_back(std::move(box));
        if (onBox)
            onBox();
    }
// GCC 12 warns that a copied optional<QString> may be uninitialised; it is not (a known false
// positive of its optimiser with optional's storage).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
    std::optional<QString> Next() {
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
#pragma GCC diagnostic pop
};

// A controller as the settings panel sees it; names follow DirectInput's generic ones.
TJoystick MakeController(int axes, int sliders, std::vector<int> povMax, int buttons);

// Qt's loop, counting how often each timer fired (by the interval it was made with).
class CountingLoop final : public IEventLoop {
public:
    std::unique_ptr<ITimer> CreateTimer(int ms, TimerMode mode,
                                        std::function<void()> fire) override {
        return qt_.CreateTimer(ms, mode, [this, ms, fire = std::move(fire)] {
            ++ticks[ms];
            fire();
        });
    }
    std::unique_ptr<IDescriptorWatch> Watch(int descriptor, std::function<void()> ready) override {
        return qt_.Watch(descriptor, std::move(ready));
    }
    std::map<int, int> ticks;

private:
    QtEventLoop qt_;
};

struct HarnessSetup {
    // Empty: both in the harness's own folder.
    std::string storePath;
    Registry* settings = nullptr;
    InjectionStatus injection{InjectionLevel::Full, {}, {}};
};

struct Harness {
    explicit Harness(HarnessSetup setup = {});
    ~Harness();
    // Settings and the profile store live in a folder of their own.
    QTemporaryDir folder;
    std::unique_ptr<Registry> settings;
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    CountingLoop loop;
    RecordingInjector injector;
    RecordingSession session;
    FakeDialogs dialogs;
    std::unique_ptr<Core> core;
    TLists& lists;
    DiLog& log;
    std::unique_ptr<TfrmMain> window;

    // Plugs in a device of tests/fixtures/devices; returns its node.
    int Plug(const std::string& fixture);
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    // Adds a controller to ActiveJoysticks and cmbDevices.
    TJoystick& AddActive(TJoystick joystick);
    // Adds a profile to Profiles and cmbProfiles.
    TProfile& AddProfile(const std::string& name);
    // Picks item `index` of a list as the user would (-1 for none) and runs its handler.
    void PickDevice(int index);
    void PickProfile(int index);
    // The texts of the four boxes of row i.
    std::vector<QString> RowTexts(std::size_t i) const;
};

// Pixels of `colour` that `widget` paints in `area` (all of it when empty); `near` admits the
// lighter and darker edges of smoothed text.
int CountPixels(QWidget* widget, QColor colour, QRect area = {}, int near = 0);

// Runs `action` on the modal widget (dialog or message box) or pop-up menu once it is open, from
// inside its event loop. Gives up quietly after `timeoutMs`.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
void WhenPopup(std::function<void(QWidget*)> action, int timeoutMs = 5000);

} // namespace padwright::test
