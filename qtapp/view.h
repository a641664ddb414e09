// The Qt windows over the window model: Form1 and Form2 as widgets, driven by
// the view kit. Qt's events become model events; after each event the kit
// mirrors what they changed.
#pragma once

#include "app/app.h"
#include "platform/window_services.h"
#include "qtapp/widgets.h"
#include "view/kit.h"
#include "view/timer_steps.h"

#include <QIcon>
#include <QObject>

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

class QScreen;
class QTimer;

namespace lumatone::view {

class QtView : public QObject, public KitView, public PopupMenu, public ProgramEnd {
  public:
    QtView();
    ~QtView() override;
    const QIcon& Icon() const { return icon_; }
    bool Create(App& app) override;
    int Run() override; // Qt's event loop

    // The capabilities.
    int Popup(const std::vector<std::string>& captions) override;
    ScreenMetrics& Metrics() { return kit_; }
    void EndProgram() override;
    // A later copy asked: Form1 shows as through the tray, and comes to the front.
    void ShowAsked();
    // The same, with the main window and icon, for the services.

  private:
    // NativeWindows: the screen and creating (create.cpp).
    int DotsPerInch() override;
    PixelSize ScreenSize() override;
    std::optional<PixelRect> WorkArea() override;
    NativeHandle CreateForm1(Form1& form) override;
    NativeHandle CreateForm2(Form2& form) override;
    void CreateControl(NativeControl& n, NativeHandle parent, int id) override;
    void Raise(NativeHandle control) override { Widget(control)->raise(); }
    void Discard(FormWindow& window) override;
    // NativeWindows: windows, controls, timers and focus (apply.cpp).
    bool Shown(NativeHandle window) override { return Widget(window)->isVisible(); }
    bool Minimized(NativeHandle window) override { return Widget(window)->isMinimized(); }
    void Place(NativeHandle window, const PixelRect& place) override;
    void Show(NativeHandle window, bool minimized) override;
    void Hide(NativeHandle window, bool) override { Widget(window)->hide(); }
    void Repaint(NativeHandle holder) override { Widget(holder)->update(); }
    void ApplyText(NativeControl& n, const std::string& text) override;
    void ApplyValue(NativeControl& n, int value) override;
    void ApplyLook(NativeControl& n, const ControlLook& look, unsigned aspects) override;
    void StartTimer(std::size_t index, int intervalMs) override;
    void StopTimer(std::size_t index) override;
    // The one Qt timer's step: the greatest common one of the running intervals.
    void RestartTimer();
    void OnTimer();
    NativeHandle FocusIn(NativeHandle window) override { return Widget(window)->focusWidget(); }
    bool Focusable(NativeHandle control) override;
    void Focus(NativeHandle windowOrControl) override;

    // Everything the look holds, as a widget just created shows it.
    void ApplyAll(NativeControl& n, const ControlLook& look);
    // Input: Qt's signals into model events.
    void Connect(NativeControl& n);
    void WatchScreen(QScreen* screen);
    // Painting what has no widget: the lines.
    void PaintLines(QPainter& painter, const Frame* frame);

    App* app_ = nullptr;
    std::unique_ptr<Surface> form1_;
    // The model's timers, by the kit's index, on the one Qt timer.
    TimerSteps<std::tuple_size_v<decltype(std::declval<Form1&>().Timers())>> timers_;
    QTimer* timer_;
    QIcon icon_;
    bool ended_ = false; // EndProgram ran, perhaps before the loop did
};

} // namespace lumatone::view
