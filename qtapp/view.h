// The Qt windows over the window model: Form1 and Form2 as widgets. Qt's
// events become model events; after each event the view mirrors what it changed.
#pragma once

#include "app/app.h"
#include "app/delivery.h"
#include "platform/window_runtime.h"
#include "qtapp/widgets.h"

#include <QIcon>
#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QScreen;
class QTimer;

namespace lumatone::view {

class QtView : public QObject, public WindowRuntime {
  public:
    QtView();
    ~QtView() override;
    QtView(const QtView&) = delete;
    QtView& operator=(const QtView&) = delete;

    // Creates Form1's window and controls, hidden, before start-up runs.
    bool Create(App& app);
    // Where Form1 first appears: centred in the screen's available area.
    void PlaceInitially();
    // Mirrors into the widgets what changed in the model.
    void Sync();
    // The event loop; returns when the program ends.
    int Run();
    // Runs a model event, then mirrors its effects (see EventDelivery).
    void Deliver(std::function<void()> event) { delivery_.Deliver(std::move(event)); }
    bool Live() const { return delivery_.Live(); }
    const QIcon& Icon() const { return icon_; }

    // WindowRuntime.
    WindowHandle MainWindow() override;
    IconHandle MainIcon() override;
    int PopupMenu(const std::vector<std::string>& captions) override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    float TwipsPerPixelX() override { return twipsPerPixel_; }
    float TwipsPerPixelY() override { return twipsPerPixel_; }
    void EndProgram() override;

  private:
    // Creating widgets.
    void CreateControl(NativeWindow& window, Control& c, QWidget* parent);
    void CreateForm2(Form2& model);
    void DestroyForm2();
    Form2Window* LiveForm2() const;
    void ApplyLook(NativeControl& n, const ControlLook& look, bool form1);

    // Input: Qt's events into model events.
    void Connect(NativeControl& n);
    void OnKey(TextBox& box, int virtualKey, int shift);
    void OnTyped(NativeControl& n, const QString& text);
    void OnScroll(NativeControl& n, int value);
    void OnMouse(Frame* frame, MouseKind kind, int buttons, int shift, QPoint at);
    void OnTimer(Timer* t);
    void OnActivate(bool active);
    void MoveFocus(bool backwards);
    void FocusModelControl();
    void WatchScreen(QScreen* screen);

    // Painting what has no widget: the lines.
    void PaintLines(QPainter& painter, const Frame* frame);

    // Mirroring the model.
    void MirrorAll();
    void MirrorForm1();
    void MirrorForm1Window();
    void MirrorTimers();
    void MirrorForm2();
    void MirrorForm2Window();
    void PlaceWindow(QWidget& widget, const WindowLook& look);
    void MirrorControl(NativeWindow& window, const ControlChange& change);
    void MirrorText(NativeControl& n, const std::string& text);

    App* app_ = nullptr;
    std::unique_ptr<Form1Window> form1_;
    std::unique_ptr<Form2Window> form2_;
    std::map<const Timer*, QTimer*> timers_;
    QIcon icon_;
    float twipsPerPixel_ = 15.0f;
    EventDelivery delivery_{[this] { MirrorAll(); }};
    bool ended_ = false; // EndProgram ran, perhaps before the loop did
};

} // namespace lumatone::view
