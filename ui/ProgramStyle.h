#pragma once
// The style every window shares, on top of the desktop's own: a keyboard focus frame that can be
// seen on any background, and disabled texts that stay readable under any desktop palette.
#include <QProxyStyle>

class QApplication;

namespace zg {

// The width of the focus frame, drawn inside the control's own rectangle.
inline constexpr int FocusFrameWidth = 2;

class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

// The colour of a focus frame on `background`: black or white, whichever stands out more (at
// least 4.5:1 on any colour).
QColor FocusFrameColour(const QColor& background);

// Gives the application ProgramStyle and keeps its palette's disabled texts readable: whenever
// the palette changes, a disabled text that reads worse than 3:1 on its background, or as well as
// the enabled text, is replaced by the enabled text faded towards the background.
void InstallProgramStyle(QApplication& app);

} // namespace zg
