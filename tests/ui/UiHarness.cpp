#include "UiHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <cstdlib>

#include "platform/dinput/EvemuParser.h"
#include "ui/StaticText.h"

namespace padwright::test {

TJoystick MakeController(int axes, int sliders, std::vector<int> povMax, int buttons) {
    static const char* const axisNames[] = {"X Axis",     "Y Axis",     "Z Axis",
                                            "X Rotation", "Y Rotation", "Z Rotation"};
    TJoystick j;
    j.Name = "Test Pad";
    std::int32_t* counts[] = {&j.XCount, &j.YCount, &j.ZCount, &j.RxCount, &j.RyCount, &j.RzCount};
    std::string* names[] = {&j.XName, &j.YName, &j.ZName, &j.RxName, &j.RyName, &j.RzName};
    for (int a = 0; a < axes && a < AxisCount; ++a) {
        *counts[a] = 1;
        *names[a] = axisNames[a];
    }
    j.SliderCount = sliders;
    for (int s = 0; s < sliders && s < MaxSliders; ++s)
        j.SliderNames[s] = "Slider";
    j.POVCount = static_cast<int>(povMax.size());
    for (std::size_t h = 0; h < povMax.size() && h < MaxHats; ++h) {
        j.POVNames[h] = "Hat Switch";
        j.POVMax[h] = povMax[h];
    }
    j.ButtonCount = buttons;
    for (int b = 0; b < buttons && b < MaxButtons; ++b)
        j.ButtonNames[b] = "Button: Button " + std::to_string(b);
    return j;
}

namespace {

std::unique_ptr<Core> MakeCore(Harness& h, const HarnessSetup& setup) {
    CoreParts parts{h.loop, h.injector, h.session, h.dialogs,
                    setup.settings ? *setup.settings : *h.settings};
    parts.DirectInput = [kernel = h.kernel](std::shared_ptr<IDirectInput8>& out) {
        out = CreateFixtureDirectInput(kernel);
        return DI_OK;
    };
    parts.StorePath =
        setup.storePath.empty() ? h.Path("Padwright.pro").toStdString() : setup.storePath;
    return std::make_unique<Core>(std::move(parts));
}

} // namespace

Harness::Harness(HarnessSetup setup)
    : settings(std::make_unique<Registry>(folder.filePath("Padwright.conf").toStdString())),
      core(MakeCore(*this, setup)), lists(core->Lists), log(core->Log),
      window(std::make_unique<TfrmMain>(*core, dialogs, setup.injection)) {}

int Harness::Plug(const std::string& fixture) {
    const EvemuDevice device = LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/" + fixture);
    return kernel->Add(device.description);
}

Harness::~Harness() {
    window.reset();
    core.reset();
}

TJoystick& Harness::AddActive(TJoystick joystick) {
    TJoystick& added = lists.ActiveJoysticks.push_back(std::move(joystick));
    window->core.Controllers.View.cmbDevices.Add(ControllerListText(added));
    window->SyncControllerWidgets();
    return added;
}

TProfile& Harness::AddProfile(const std::string& name) {
    TProfile& added = lists.Profiles.push_back(NewProfile(name));
    window->cmbProfiles->addItem(QString::fromStdString(name));
    return added;
}

void Harness::PickDevice(int index) {
    window->core.Controllers.View.cmbDevices.ItemIndex = index;
    window->cmbDevicesClick();
}

void Harness::PickProfile(int index) {
    window->cmbProfiles->setCurrentIndex(index);
    emit window->cmbProfiles->activated(index);
}

std::vector<QString> Harness::RowTexts(std::size_t i) const {
    const TSettingsRow& row = window->SettingsRows.at(i);
    return {row.NameBox->text(), row.FunctionBox->text(), row.ModifierBox->text(),
            row.RepeatBox->text()};
}

int CountPixels(QWidget* widget, QColor colour, QRect area, int near) {
    const QImage image = widget->grab().toImage();
    if (area.isNull())
        area = image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            count += std::abs(p.red() - colour.red()) <= near &&
                     std::abs(p.green() - colour.green()) <= near &&
                     std::abs(p.blue() - colour.blue()) <= near;
        }
    return count;
}

namespace {

void WhenWidget(std::function<QWidget*()> find, std::function<void(QWidget*)> action,
                int timeoutMs) {
    auto* poll = new QTimer(qApp);
    auto left = std::make_shared<int>(timeoutMs / 10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, left, find, action] {
        QWidget* widget = find();
        if (widget && widget->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(widget);
        } else if (--*left <= 0) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
}

} // namespace

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenWidget([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs);
}

void WhenPopup(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenWidget([] { return QApplication::activePopupWidget(); }, std::move(action), timeoutMs);
}

} // namespace padwright::test
