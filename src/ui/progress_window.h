// The progress window of the automatic run: a small stay-on-top window over the main
// window whose bar follows the candidates.
#pragma once

#include <QDialog>

class QProgressBar;

namespace trimora {

class TwndProgress : public QDialog {
    Q_OBJECT
public:
    explicit TwndProgress(QWidget* parent = nullptr);

    // Shows the window centred on `owner` with the caption, and lets the user interface
    // draw it once before the run blocks the event loop.
    void Start(const QString& caption, const QWidget* owner);
    // Moves the bar (0..100) and repaints it at once: the run gives the event loop no time.
    void SetPosition(int position);
    void Finish();

    QProgressBar* Bar() const { return Bar1; }

private:
    QProgressBar* Bar1 = nullptr;
};

}  // namespace trimora
