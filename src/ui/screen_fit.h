#pragma once
// Window sizes that suit the screen they open on, from a laptop's 1366x768 up.

#include <QSize>

class QWidget;

namespace wf::ui {

// Room the window manager's frame and title bar usually take around a window.
inline constexpr QSize kFrameAllowance{16, 40};

// Gives `w` its preferred size where the screen's available area holds it with its frame,
// centred; otherwise the whole available area, maximised.
void fitToScreen(QWidget* w, QSize preferred);

// Shows `w` maximised over the available area (also where no window manager maximises).
void showFillingScreen(QWidget* w);

} // namespace wf::ui
