#include "support/recording_canvas.h"

#include <sstream>

namespace trimora::test {

namespace {

// UTF-8 code points: every byte that does not continue a sequence starts one.
int CodePoints(std::string_view text) {
    int n = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

const char* KindName(CallKind kind) {
    switch (kind) {
        case CallKind::Text:
            return "Text";
        case CallKind::Line:
            return "Line";
        case CallKind::FillRect:
            return "FillRect";
        case CallKind::FrameRect:
            return "FrameRect";
        case CallKind::BeginDoc:
            return "BeginDoc";
        case CallKind::NewPage:
            return "NewPage";
        case CallKind::EndDoc:
            return "EndDoc";
        case CallKind::Abort:
            return "Abort";
    }
    return "?";
}

std::string ColorText(Color c) {
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) +
           ")";
}

std::string PenText(const Pen& p) {
    return ColorText(p.color) + " w" + std::to_string(p.width) +
           (p.style == PenStyle::Dot ? " dot" : " solid");
}

}  // namespace

int RecordedTextWidth(std::string_view text, const Font& font, int pixelsPerPoint) {
    return CodePoints(text) * font.size * pixelsPerPoint * 6 / 10;
}

int RecordedTextHeight(std::string_view text, const Font& font, int pixelsPerPoint) {
    return text.empty() ? 0 : font.size * pixelsPerPoint * 3 / 2;
}

std::string Describe(const CanvasCall& c) {
    std::ostringstream os;
    if (c.page != 0) os << "p" << c.page << " ";
    os << KindName(c.kind);
    switch (c.kind) {
        case CallKind::Text:
            os << " (" << c.x1 << "," << c.y1 << ") \"" << c.text << "\" " << c.font.face << " "
               << c.font.size << (c.font.bold ? " bold" : "") << " " << ColorText(c.color);
            if (c.angleTenths != 0) os << " angle " << c.angleTenths;
            break;
        case CallKind::Line:
            os << " (" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ") "
               << PenText(c.pen);
            break;
        case CallKind::FillRect:
            os << " (" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ") "
               << ColorText(c.color);
            break;
        case CallKind::FrameRect:
            os << " (" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ") "
               << PenText(c.pen);
            break;
        case CallKind::BeginDoc:
            os << " \"" << c.text << "\"";
            break;
        default:
            break;
    }
    return os.str();
}

void PrintTo(const CanvasCall& call, std::ostream* os) {
    *os << Describe(call);
}

bool RecordingPrintTarget::BeginDoc(const std::string& title) {
    CanvasCall c = Make(CallKind::BeginDoc);
    c.text = title;
    calls.push_back(std::move(c));
    if (!beginDocSucceeds) return false;
    inDocument_ = true;
    page_ = 1;
    calls.back().page = page_;
    return true;
}

void RecordingPrintTarget::NewPage() {
    if (inDocument_) ++page_;
    calls.push_back(Make(CallKind::NewPage));
}

void RecordingPrintTarget::EndDoc() {
    calls.push_back(Make(CallKind::EndDoc));
    inDocument_ = false;
    page_ = 0;
}

void RecordingPrintTarget::Abort() {
    calls.push_back(Make(CallKind::Abort));
    inDocument_ = false;
    page_ = 0;
}

int RecordingPrintTarget::PageWidth() const {
    return GetOrientation() == Orientation::Portrait ? portraitWidth : portraitHeight;
}

int RecordingPrintTarget::PageHeight() const {
    return GetOrientation() == Orientation::Portrait ? portraitHeight : portraitWidth;
}

}  // namespace trimora::test
