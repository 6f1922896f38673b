// The drawing surface of the desktop program: the core's Canvas painted with a QPainter on
// a widget, an image or a printer page.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>

#include "core/canvas.h"

class QPainter;

namespace trimora {

QColor ToQColor(Color color);

class QtCanvas : public Canvas {
public:
    // The painter must stay active while the canvas is used.
    explicit QtCanvas(QPainter& painter);

    void SetFont(const Font& font) override;
    void SetPen(const Pen& pen) override;
    void SetTextColor(Color color) override;

    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;

    void TextOut(int x, int y, const std::string& text, int angleTenths = 0) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void FillRect(int x1, int y1, int x2, int y2, Color color) override;
    void FrameRect(int x1, int y1, int x2, int y2) override;

private:
    QPainter& painter_;
    QFont font_;
    QColor penColor_;
    int penWidth_ = 1;
    Qt::PenStyle penStyle_ = Qt::SolidLine;
    QColor textColor_;
    QPoint position_;
};

}  // namespace trimora
