// The reports page: the report and the bill of the last run as read-only monospaced rich
// text, each under a title bar with its print and clear buttons.
#pragma once

#include <QWidget>

#include "output/report.h"

class QLabel;
class QTextEdit;
class QToolButton;

namespace trimora {

class ReportPage : public QWidget {
    Q_OBJECT
public:
    explicit ReportPage(QWidget* parent = nullptr);

    // Font size in points of both texts (StatFontSize); the formatting steps are relative
    // to it.
    void SetFontSize(int points);
    void SetReport(const RichText& text);
    void SetBill(const RichText& text);
    QString ReportText() const;
    QString BillText() const;

    // Handlers with the controls' names.
    void BitBtn9Click();   // clear the report
    void BitBtn19Click();  // clear the bill

signals:
    void reportCleared();
    void billCleared();

private:
    QWidget* NewPanel(const char* panelName, const char* titleName, const char* printName,
                      const char* clearName, const char* editName, QLabel*& title,
                      QToolButton*& print, QToolButton*& clear, QTextEdit*& edit);
    void Fill(QTextEdit* edit, const RichText& text) const;

    int fontSize_ = 8;
    RichText report_;
    RichText bill_;

    QWidget* panReport = nullptr;
    QWidget* panBill = nullptr;
    QLabel* Panel4 = nullptr;
    QLabel* Panel5 = nullptr;
    QToolButton* Stampaj = nullptr;
    QToolButton* StampajCene = nullptr;
    QToolButton* BitBtn9 = nullptr;
    QToolButton* BitBtn19 = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QTextEdit* RichEdit2 = nullptr;
};

}  // namespace trimora
