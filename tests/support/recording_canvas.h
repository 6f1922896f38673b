// Test doubles of the drawing surfaces: they record every drawing call together with the
// font, pen and colours in force, so tests can assert what was drawn and where.
//
// Text metrics are deterministic and independent of any real font:
//   TextWidth  = code points x font size x pixelsPerPoint x 0.6   (truncated)
//   TextHeight = font size x pixelsPerPoint x 1.5                  (truncated; 0 for "")
// pixelsPerPoint is 1 by default; printing tests may set it to the page's DPI / 72.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/canvas.h"

namespace trimora::test {

enum class CallKind { Text, Line, FillRect, FrameRect, BeginDoc, NewPage, EndDoc, Abort };

struct CanvasCall {
    CallKind kind = CallKind::Text;
    int page = 0;  // print targets: 1-based page of the document; 0 outside a document
    // Text: top-left corner in (x1, y1). Line: from (x1, y1) to (x2, y2).
    // FillRect, FrameRect: the corners as passed (right and bottom exclusive).
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;  // Text: the text; BeginDoc: the document title
    int angleTenths = 0;
    Font font;    // Text: font in force
    Color color;  // Text: text colour; FillRect: fill colour
    Pen pen;      // Line, FrameRect: pen in force
};

std::string Describe(const CanvasCall& call);
// Makes GoogleTest print calls readably in failure messages.
void PrintTo(const CanvasCall& call, std::ostream* os);

// Text metrics shared by both recorders (see the top of this file).
int RecordedTextWidth(std::string_view text, const Font& font, int pixelsPerPoint);
int RecordedTextHeight(std::string_view text, const Font& font, int pixelsPerPoint);

// The recording behind both doubles. Interface is Canvas or PrintTarget.
template <class Interface>
class BasicRecordingCanvas : public Interface {
public:
    std::vector<CanvasCall> calls;
    int pixelsPerPoint = 1;

    void SetFont(const Font& font) override { font_ = font; }
    void SetPen(const Pen& pen) override { pen_ = pen; }
    void SetTextColor(Color color) override { textColor_ = color; }
    int TextWidth(const std::string& text) override {
        return RecordedTextWidth(text, font_, pixelsPerPoint);
    }
    int TextHeight(const std::string& text) override {
        return RecordedTextHeight(text, font_, pixelsPerPoint);
    }

    void TextOut(int x, int y, const std::string& text, int angleTenths = 0) override {
        CanvasCall c = Make(CallKind::Text);
        c.x1 = x;
        c.y1 = y;
        c.text = text;
        c.angleTenths = angleTenths;
        c.font = font_;
        c.color = textColor_;
        calls.push_back(std::move(c));
    }
    void MoveTo(int x, int y) override {
        posX_ = x;
        posY_ = y;
    }
    void LineTo(int x, int y) override {
        CanvasCall c = Make(CallKind::Line);
        c.x1 = posX_;
        c.y1 = posY_;
        c.x2 = x;
        c.y2 = y;
        c.pen = pen_;
        calls.push_back(std::move(c));
        MoveTo(x, y);
    }
    void FillRect(int x1, int y1, int x2, int y2, Color color) override {
        CanvasCall c = Make(CallKind::FillRect);
        c.x1 = x1;
        c.y1 = y1;
        c.x2 = x2;
        c.y2 = y2;
        c.color = color;
        calls.push_back(std::move(c));
    }
    void FrameRect(int x1, int y1, int x2, int y2) override {
        CanvasCall c = Make(CallKind::FrameRect);
        c.x1 = x1;
        c.y1 = y1;
        c.x2 = x2;
        c.y2 = y2;
        c.pen = pen_;
        calls.push_back(std::move(c));
    }

    const Font& CurrentFont() const { return font_; }
    const Pen& CurrentPen() const { return pen_; }

    // The calls of one kind, in drawing order.
    std::vector<CanvasCall> Of(CallKind kind) const {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    // Every text call drawing exactly this text.
    std::vector<CanvasCall> TextsEqual(std::string_view text) const {
        std::vector<CanvasCall> out;
        for (const CanvasCall& c : calls)
            if (c.kind == CallKind::Text && c.text == text) out.push_back(c);
        return out;
    }
    // All calls, one per line, for failure messages.
    std::string Dump() const {
        std::string out;
        for (const CanvasCall& c : calls) out += Describe(c) + "\n";
        return out;
    }
    void Clear() { calls.clear(); }

protected:
    CanvasCall Make(CallKind kind) const {
        CanvasCall c;
        c.kind = kind;
        c.page = page_;
        return c;
    }
    int page_ = 0;

private:
    Font font_;
    Pen pen_;
    Color textColor_ = kBlack;
    int posX_ = 0, posY_ = 0;
};

class RecordingCanvas final : public BasicRecordingCanvas<Canvas> {};

// A printer double. The page size is given for portrait; landscape swaps it, as a printer
// does. BeginDoc, NewPage, EndDoc and Abort are recorded as calls too.
class RecordingPrintTarget final : public BasicRecordingCanvas<PrintTarget> {
public:
    int portraitWidth = 2480;  // A4 at 300 dpi
    int portraitHeight = 3508;
    int dpiX = 300, dpiY = 300;
    int offsetX = 0, offsetY = 0;
    bool beginDocSucceeds = true;

    bool BeginDoc(const std::string& title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;

    int PageWidth() const override;
    int PageHeight() const override;
    int DpiX() const override { return dpiX; }
    int DpiY() const override { return dpiY; }
    int OffsetX() const override { return offsetX; }
    int OffsetY() const override { return offsetY; }
    Orientation GetOrientation() const override { return orientation_; }
    void SetOrientation(Orientation orientation) override { orientation_ = orientation; }

    int CurrentPage() const { return page_; }
    bool InDocument() const { return inDocument_; }

private:
    Orientation orientation_ = Orientation::Portrait;
    bool inDocument_ = false;
};

}  // namespace trimora::test
