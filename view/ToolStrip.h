#pragma once

#include <QFrame>
#include <QImage>
#include <QPalette>

// The tool bar's ground: a strip of dark, brushed metal with a raised edge,
// of a piece with the riveted plate below it. Everything on it (the bevels of
// the displays, the buttons' frames) takes its colours from MetalPalette.
class ToolStrip : public QFrame {
public:
    explicit ToolStrip(QWidget* parent);

    // Dark steel: light and dark edges for bevels on the strip and beside the board.
    static QPalette MetalPalette();
    // The strip's face, width x height, drawn the same every time.
    static QImage Face(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_face;
};
