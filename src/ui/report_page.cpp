#include "ui/report_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace trimora {

namespace {

// The formatting steps are pixel heights; at the screen's usual 96 dots per inch a pixel is
// three quarters of a point.
constexpr double kPointsPerPixel = 0.75;

}  // namespace

ReportPage::ReportPage(QWidget* parent) : QWidget(parent) {
    setObjectName("pag4");
    panReport = NewPanel("panReport", "Panel4", "Stampaj", "BitBtn9", "RichEdit1", Panel4, Stampaj,
                         BitBtn9, RichEdit1);
    panBill = NewPanel("panBill", "Panel5", "StampajCene", "BitBtn19", "RichEdit2", Panel5,
                       StampajCene, BitBtn19, RichEdit2);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(panReport, 3);
    layout->addWidget(panBill, 2);

    connect(BitBtn9, &QToolButton::clicked, this, &ReportPage::BitBtn9Click);
    connect(BitBtn19, &QToolButton::clicked, this, &ReportPage::BitBtn19Click);
    SetFontSize(fontSize_);
}

QWidget* ReportPage::NewPanel(const char* panelName, const char* titleName, const char* printName,
                              const char* clearName, const char* editName, QLabel*& title,
                              QToolButton*& print, QToolButton*& clear, QTextEdit*& edit) {
    auto* panel = new QWidget(this);
    panel->setObjectName(panelName);
    title = new QLabel(panel);
    title->setObjectName(titleName);
    title->setFrameShape(QFrame::StyledPanel);
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    print = new QToolButton(panel);
    print->setObjectName(printName);
    print->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    print->setAutoRaise(true);
    // Printing the report and the bill comes with the printing feature.
    print->setEnabled(false);
    clear = new QToolButton(panel);
    clear->setObjectName(clearName);
    clear->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    clear->setAutoRaise(true);
    edit = new QTextEdit(panel);
    edit->setObjectName(editName);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QTextEdit::NoWrap);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    edit->setPalette(palette);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(print);
    bar->addWidget(clear);
    bar->addWidget(title, 1);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(edit, 1);
    return panel;
}

void ReportPage::SetFontSize(int points) {
    fontSize_ = std::clamp(points, 4, 72);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(fontSize_);
    RichEdit1->setFont(font);
    RichEdit2->setFont(font);
    // The texts carry their own character formats: write them again in the new size.
    if (!RichEdit1->document()->isEmpty()) Fill(RichEdit1, report_);
    if (!RichEdit2->document()->isEmpty()) Fill(RichEdit2, bill_);
}

void ReportPage::Fill(QTextEdit* edit, const RichText& text) const {
    edit->clear();
    QTextCursor cursor(edit->document());
    bool first = true;
    for (const RichLine& line : text) {
        QTextCharFormat format;
        QFont font = edit->font();
        font.setBold(line.bold);
        font.setPointSizeF(fontSize_ + line.sizeStep * kPointsPerPixel);
        format.setFont(font);
        if (!first) cursor.insertBlock();
        first = false;
        cursor.insertText(QString::fromStdString(line.text), format);
    }
    edit->moveCursor(QTextCursor::Start);
}

void ReportPage::SetReport(const RichText& text) {
    report_ = text;
    Fill(RichEdit1, report_);
}

void ReportPage::SetBill(const RichText& text) {
    bill_ = text;
    Fill(RichEdit2, bill_);
}

QString ReportPage::ReportText() const {
    return RichEdit1->toPlainText();
}

QString ReportPage::BillText() const {
    return RichEdit2->toPlainText();
}

void ReportPage::BitBtn9Click() {
    report_.clear();
    RichEdit1->clear();
    emit reportCleared();
}

void ReportPage::BitBtn19Click() {
    bill_.clear();
    RichEdit2->clear();
    emit billCleared();
}

}  // namespace trimora
