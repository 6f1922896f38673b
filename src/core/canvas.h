// Drawing surfaces. Diagrams, printed pages and labels are computed in the core against
// these interfaces; the desktop program paints them with QPainter, tests record them.
#pragma once

#include <cstdint>
#include <string>

namespace trimora {

struct Color {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

struct Font {
    std::string face = "Arial";
    int size = 8;  // points
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class PenStyle { Solid, Dot };

struct Pen {
    Color color = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// Integer device coordinates (pixels on screen, dots on a printer), y growing downwards.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetFont(const Font& font) = 0;
    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetTextColor(Color color) = 0;

    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;

    // Text with its top-left corner at (x, y); angleTenths turns it counter-clockwise
    // around that corner, in tenths of a degree (900 = vertical, reading upwards).
    virtual void TextOut(int x, int y, const std::string& text, int angleTenths = 0) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Right and bottom edges are exclusive, as in the platform's rectangle calls.
    virtual void FillRect(int x1, int y1, int x2, int y2, Color color) = 0;
    virtual void FrameRect(int x1, int y1, int x2, int y2) = 0;  // with the current pen
};

enum class Orientation { Portrait, Landscape };

class PrintTarget : public Canvas {
public:
    virtual bool BeginDoc(const std::string& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;

    virtual int PageWidth() const = 0;   // printable area, device units
    virtual int PageHeight() const = 0;
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    virtual int OffsetX() const = 0;  // physical offset of the printable area
    virtual int OffsetY() const = 0;
    virtual Orientation GetOrientation() const = 0;
    virtual void SetOrientation(Orientation orientation) = 0;
};

}  // namespace trimora
