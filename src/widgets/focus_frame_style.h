// The desktop's style with a focus frame that can always be seen: the
// current cell of the records grid and the current row of a pane's tree
// get a two-pixel frame in the colour that stands out from their fill.
// Styles such as Fusion frame them in a darker shade of the selection
// colour, which vanishes on a selected cell: after Ctrl+A, or with the
// current cell inside a selected block, nothing showed where the keys act.
#pragma once

#include <QProxyStyle>

class FocusFrameStyle : public QProxyStyle {
public:
  using QProxyStyle::QProxyStyle;

  void drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                     QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};

// Draws the focus frame of a widget that paints itself (a chart) inside
// rect, the way the style frames the focused item of a view: in the
// selection's text colour on a selection (or another dark fill), else in
// the selection colour.
void DrawFocusFrame(QPainter &painter, const QRect &rect,
                    const QPalette &palette, bool onSelection);
