// The manual page of the main window: the user fills the sheets one at a time with the
// manual search, browses the alternatives in a preview and accepts one per sheet.
//
// The search runs generation by generation from the event loop, so Stop and Prekini act
// between generations and the window stays responsive.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "optimiser/manual_search.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QStatusBar;
class QTimer;
#ifdef TRIMORA_HAVE_MULTIMEDIA
class QSoundEffect;
#endif

namespace trimora {

class TMainForm;
class ManualPreview;

class ManualPage : public QWidget {
    Q_OBJECT
public:
    explicit ManualPage(TMainForm& form, QWidget* parent = nullptr);
    ~ManualPage() override;

    // Handlers with the controls' names. Button1 is the manual start on the input page.
    void Button1Click();
    void BitBtn5Click();  // Start
    void BitBtn6Click();  // Stop
    void BitBtn7Click();  // O.K.
    void PrekiniClick();
    void AlphaStep(double step);  // BitBtn12, BitBtn13, BitBtn14
    // Gives up a manual run in progress as Prekini does; for commands that replace the
    // project under it. Nothing happens when no run is open.
    void AbandonRun();

    bool Searching() const { return searching_; }
    const ManualRun& Run() const { return run_; }
    // Text of status panel 0..4.
    QString StatusText(int panel) const;

    // Plays the end sound: the file of SoundPath, or sound.wav in the program folder when
    // that is missing. A sound that cannot be played is switched off until the program ends.
    void PlayEndSound();
    bool SoundSwitchedOff() const { return soundOff_; }

private:
    void BuildControls();
    void ShowSheet();
    void NextGeneration(uint64_t token);
    void EndSearch();
    void FinishManualRun();
    void ResetControls();
    void ShowAlternative();
    void HideEndNotice();
    void Timer1Timer();
    void SoundFailed();
    QString Text(int number) const;
    void SetStatus(int panel, const QString& text);

    TMainForm& form_;
    ManualRun run_;
    bool searching_ = false;
    // Bumped by every search start and by Prekini, so a generation queued for an abandoned
    // search does nothing.
    uint64_t searchToken_ = 0;
    int timerTicks_ = 0;
    bool soundOff_ = false;

    ManualPreview* Image3 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn6 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* Prekini = nullptr;
    QPushButton* BitBtn12 = nullptr;
    QPushButton* BitBtn13 = nullptr;
    QPushButton* BitBtn14 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QLineEdit* Edit13 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QLineEdit* Edit15 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QLabel* Label37 = nullptr;
    QLabel* Label38 = nullptr;
    QLabel* Label4 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanels_[5] = {};
    QFrame* Panel3 = nullptr;
    QTimer* Timer1 = nullptr;
#ifdef TRIMORA_HAVE_MULTIMEDIA
    QSoundEffect* sound_ = nullptr;
#endif
};

}  // namespace trimora
