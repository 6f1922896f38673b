#include "ui/qt_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace trimora {

namespace {

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QColor ToQColor(Color color) {
    return QColor(color.r, color.g, color.b);
}

QtCanvas::QtCanvas(QPainter& painter)
    : painter_(painter), penColor_(Qt::black), textColor_(Qt::black) {
    font_ = painter_.font();
    SetFont(Font{});
}

void QtCanvas::SetFont(const Font& font) {
    font_.setFamily(ToQString(font.face));
    font_.setPointSize(std::max(1, font.size));
    font_.setBold(font.bold);
    painter_.setFont(font_);
}

void QtCanvas::SetPen(const Pen& pen) {
    penColor_ = ToQColor(pen.color);
    penWidth_ = std::max(1, pen.width);
    penStyle_ = pen.style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine;
}

void QtCanvas::SetTextColor(Color color) {
    textColor_ = ToQColor(color);
}

int QtCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(font_, painter_.device()).horizontalAdvance(ToQString(text));
}

int QtCanvas::TextHeight(const std::string& text) {
    (void)text;
    return QFontMetrics(font_, painter_.device()).height();
}

void QtCanvas::TextOut(int x, int y, const std::string& text, int angleTenths) {
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(textColor_);
    painter_.translate(x, y);
    // Counter-clockwise on screen is a negative angle for the painter, y growing downwards.
    if (angleTenths != 0) painter_.rotate(-angleTenths / 10.0);
    const QFontMetrics metrics(font_, painter_.device());
    painter_.drawText(QPoint(0, metrics.ascent()), ToQString(text));
    painter_.restore();
}

void QtCanvas::MoveTo(int x, int y) {
    position_ = QPoint(x, y);
}

void QtCanvas::LineTo(int x, int y) {
    const QPoint to(x, y);
    QPen pen(penColor_, penWidth_, penStyle_);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLine(position_, to);
    position_ = to;
}

void QtCanvas::FillRect(int x1, int y1, int x2, int y2, Color color) {
    if (x2 <= x1 || y2 <= y1) return;
    painter_.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), ToQColor(color));
}

void QtCanvas::FrameRect(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    QPen pen(penColor_, penWidth_, penStyle_);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    // Right and bottom edges exclusive: the frame runs along the last pixel inside.
    painter_.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

}  // namespace trimora
