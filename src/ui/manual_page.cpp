#include "ui/manual_page.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>
#ifdef TRIMORA_HAVE_MULTIMEDIA
#include <QSoundEffect>
#endif

#include "core/canvas.h"
#include "core/length_units.h"
#include "core/project.h"
#include "optimiser/run_preparation.h"
#include "ui/form_messages.h"
#include "ui/input_page.h"
#include "ui/main_form.h"
#include "ui/qt_canvas.h"

namespace trimora {

namespace {

constexpr char kDefaultAlpha[] = "0.001";

QPushButton* NewButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    return button;
}

QLabel* NewLabel(const char* name, const char* caption, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* NewEdit(const char* name, const char* text, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(name);
    return edit;
}

}  // namespace

// Image3: the preview of the alternative chosen with ScrollBar1.
class ManualPreview : public QWidget {
public:
    ManualPreview(const ManualRun& run, QWidget* parent) : QWidget(parent), run_(run) {
        setObjectName("Image3");
        setMouseTracking(true);
        setMinimumSize(200, 150);
    }
    int alternative = 0;
    std::function<void()> onMouseMove;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        QtCanvas canvas(painter);
        run_.DrawPreview(canvas, alternative, width(), height());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (onMouseMove) onMouseMove();
        QWidget::mouseMoveEvent(event);
    }

private:
    const ManualRun& run_;
};

namespace {

// Panel3 hides itself when clicked.
class EndNotice : public QFrame {
public:
    using QFrame::QFrame;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (onClick) onClick();
        QFrame::mousePressEvent(event);
    }
};

}  // namespace

ManualPage::ManualPage(TMainForm& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("pag2");
    BuildControls();
    ResetControls();
}

ManualPage::~ManualPage() = default;

void ManualPage::BuildControls() {
    Image3 = new ManualPreview(run_, this);
    Image3->onMouseMove = [this] { HideEndNotice(); };

    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(NewLabel("Label36", "Br.Table:", this));
    Label37 = NewLabel("Label37", "", this);
    Label38 = NewLabel("Label38", "", this);
    Label4 = NewLabel("Label4", "", this);
    sheetRow->addWidget(Label37);
    sheetRow->addSpacing(12);
    sheetRow->addWidget(Label38);
    sheetRow->addWidget(NewLabel("Label8", "x", this));
    sheetRow->addWidget(Label4);
    sheetRow->addStretch(1);

    BitBtn5 = NewButton("BitBtn5", "&Start", this);
    BitBtn6 = NewButton("BitBtn6", "S&top", this);
    BitBtn7 = NewButton("BitBtn7", "&O.K.", this);
    Prekini = NewButton("Prekini", "P&rekini", this);
    Edit12 = NewEdit("Edit12", kDefaultAlpha, this);
    BitBtn12 = NewButton("BitBtn12", "+0.001", this);
    BitBtn13 = NewButton("BitBtn13", "+0.005", this);
    BitBtn14 = NewButton("BitBtn14", "+0.010", this);
    Edit15 = NewEdit("Edit15", "92", this);
    // Kept for the language file; the search does not read it.
    auto* label20 = NewLabel("Label20", "Max.Komb.", this);
    Edit13 = NewEdit("Edit13", "40000", this);
    label20->hide();
    Edit13->hide();
    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar1->setObjectName("ScrollBar1");
    Edit14 = NewEdit("Edit14", "0", this);
    Edit14->setReadOnly(true);

    auto* controls = new QGridLayout;
    int row = 0;
    for (QPushButton* b : {BitBtn5, BitBtn6, BitBtn7, Prekini})
        controls->addWidget(b, row++, 0, 1, 3);
    controls->addWidget(NewLabel("Label19", "Alpha", this), row, 0);
    controls->addWidget(Edit12, row++, 1, 1, 2);
    controls->addWidget(BitBtn12, row, 0);
    controls->addWidget(BitBtn13, row, 1);
    controls->addWidget(BitBtn14, row++, 2);
    controls->addWidget(NewLabel("Label43", "P.I.(%)", this), row, 0);
    controls->addWidget(Edit15, row++, 1, 1, 2);
    controls->addWidget(NewLabel("Label35", "Izabrani", this), row, 0);
    controls->addWidget(Edit14, row++, 1, 1, 2);
    controls->addWidget(ScrollBar1, row++, 0, 1, 3);
    controls->setRowStretch(row, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(Image3, 1);
    middle->addLayout(controls);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const char* designCaptions[] = {"Visak :", "Elem.:", "Komb:", "T:", "Status:"};
    for (int i = 0; i < 5; ++i) {
        statusPanels_[i] = NewLabel(qPrintable(QStringLiteral("StatusPanel%1").arg(i)),
                                    designCaptions[i], StatusBar1);
        StatusBar1->addWidget(statusPanels_[i], i == 4 ? 2 : 1);
    }

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 0);
    page->addLayout(sheetRow);
    page->addLayout(middle, 1);
    page->addWidget(StatusBar1);

    auto* notice = new EndNotice(Image3);
    notice->onClick = [this] { HideEndNotice(); };
    Panel3 = notice;
    Panel3->setObjectName("Panel3");
    Panel3->setFrameShape(QFrame::Box);
    Panel3->setAutoFillBackground(true);
    auto* noticeLayout = new QVBoxLayout(Panel3);
    noticeLayout->addWidget(NewLabel("Label66", "GOTOV PRORACUN TABLE.", Panel3));
    noticeLayout->addWidget(
        NewLabel("Label67", "Pritisni START za ponovo racunanje ove table", Panel3));
    noticeLayout->addWidget(
        NewLabel("Label68", "Pritisni O.K. za racunanje sledece table", Panel3));
    Panel3->move(20, 20);
    Panel3->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &ManualPage::Timer1Timer);

    connect(BitBtn5, &QPushButton::clicked, this, &ManualPage::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &ManualPage::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, &ManualPage::BitBtn7Click);
    connect(Prekini, &QPushButton::clicked, this, &ManualPage::PrekiniClick);
    connect(BitBtn12, &QPushButton::clicked, this, [this] { AlphaStep(0.001); });
    connect(BitBtn13, &QPushButton::clicked, this, [this] { AlphaStep(0.005); });
    connect(BitBtn14, &QPushButton::clicked, this, [this] { AlphaStep(0.01); });
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ShowAlternative(); });
}

QString ManualPage::Text(int number) const {
    return form_.LanguageText(number);
}

QString ManualPage::StatusText(int panel) const {
    return panel >= 0 && panel < 5 ? statusPanels_[panel]->text() : QString();
}

void ManualPage::SetStatus(int panel, const QString& text) {
    statusPanels_[panel]->setText(text);
}

// Controls as they stand when no search has been made on the current sheet.
void ManualPage::ResetControls() {
    BitBtn5->setEnabled(true);
    BitBtn7->setEnabled(false);
    ScrollBar1->setRange(0, 0);
    ScrollBar1->setValue(0);
    ScrollBar1->setEnabled(false);
    Edit14->setText("0");
    Image3->alternative = 0;
    Image3->update();
}

// ---- starting a manual run ----------------------------------------------------------------

void ManualPage::Button1Click() {
    if (searching_) return;
    Project& project = form_.project();
    const Settings& settings = form_.settings();
    const Preparation prepared = PrepareOptimiserInput(project, settings.JedMere, settings.Testera);
    // The tables are sorted even when the run is then refused.
    form_.Input()->RefreshTables();
    const TextSource text = [this](int n) { return Text(n); };
    const QPoint centre = form_.frameGeometry().center() - QPoint(200, 100);
    if (!prepared.Ready()) {
        ShowLanguageMessage(text, MessageKind::Error, prepared.text, centre, MessageButtons::Ok,
                            &form_);
        return;
    }
    // The previous result is gone: its stock bookkeeping no longer applies.
    form_.Input()->SetStockButtonsEnabled(false);
    if (const int refused = run_.Begin(project); refused != 0) {
        ShowLanguageMessage(text, MessageKind::Plain, refused, std::nullopt, MessageButtons::Ok,
                            &form_);
        return;
    }
    Edit12->setText(kDefaultAlpha);
    for (int i = 0; i < 5; ++i) SetStatus(i, QString());
    HideEndNotice();
    ResetControls();
    ShowSheet();
    form_.ShowManualPageOnly();
    BitBtn5->setFocus();
}

void ManualPage::ShowSheet() {
    const ManualSheet& sheet = run_.Sheet();
    const int unit = form_.settings().JedMere;
    Label37->setText(QString::number(sheet.number));
    Label38->setText(QString::fromStdString(FormatLength(sheet.length, unit)));
    Label4->setText(QString::fromStdString(FormatLength(sheet.width, unit)));
}

// ---- the search ---------------------------------------------------------------------------

void ManualPage::BitBtn5Click() {
    if (searching_ || !run_.Active()) return;
    const int refused =
        run_.StartSearch(Edit12->text().trimmed().toStdString(),
                         Edit15->text().trimmed().toStdString(), form_.settings().manparam);
    if (refused != 0) {
        ShowLanguageMessage([this](int n) { return Text(n); }, MessageKind::Error, refused,
                            std::nullopt, MessageButtons::Ok, &form_);
        return;
    }
    HideEndNotice();
    searching_ = true;
    BitBtn5->setEnabled(false);
    BitBtn7->setEnabled(false);
    ScrollBar1->setRange(0, 0);
    ScrollBar1->setEnabled(false);
    Image3->update();
    SetStatus(4, QString::fromStdString(GenerationStatus(Text(kTextGeneration).toStdString(), 1,
                                                         run_.Search().PartnerCount())));
    const uint64_t token = ++searchToken_;
    QTimer::singleShot(0, this, [this, token] { NextGeneration(token); });
}

void ManualPage::NextGeneration(uint64_t token) {
    if (!searching_ || token != searchToken_) return;
    const bool more = run_.RunGeneration();
    const log3& search = run_.Search();
    if (search.LastNewCount() > 0) {
        SetStatus(4, QString::fromStdString(GenerationStatus(Text(kTextGeneration).toStdString(),
                                                             search.Generation(),
                                                             search.LastNewCount())));
        SetStatus(2, QString::fromStdString(CombinationsStatus(
                         Text(kTextCombinations).toStdString(), search.AllCount())));
    }
    // Pending input (Stop, Prekini) is handled before the next generation starts.
    if (more && !run_.StopRequested()) {
        QTimer::singleShot(0, this, [this, token] { NextGeneration(token); });
        return;
    }
    EndSearch();
}

void ManualPage::EndSearch() {
    searching_ = false;
    run_.FinishSearch();
    const bool stopped = run_.TakeStopRequest();
    const int last = std::max<int>(0, static_cast<int>(run_.Search().Alternatives().size()) - 1);
    {
        const QSignalBlocker block(ScrollBar1);
        ScrollBar1->setRange(0, last);
        ScrollBar1->setValue(0);
    }
    ShowAlternative();
    const ElapsedTime elapsed = run_.Search().Elapsed();
    SetStatus(3, QString::fromStdString(ElapsedStatus(elapsed)));
    SetStatus(4, Text(stopped ? kTextSearchStopped : kTextSearchFinished));
    BitBtn5->setEnabled(true);
    BitBtn7->setEnabled(!run_.Search().Alternatives().empty());
    ScrollBar1->setEnabled(true);
    Panel3->adjustSize();
    Panel3->show();
    Panel3->raise();
    timerTicks_ = 0;
    Timer1->start();
    if (!soundOff_ && EndSoundWanted(form_.settings().Zvuk, elapsed)) PlayEndSound();
}

void ManualPage::BitBtn6Click() {
    if (searching_) run_.RequestStop();
}

void ManualPage::ShowAlternative() {
    const int p = ScrollBar1->value();
    Image3->alternative = p;
    Image3->update();
    Edit14->setText(QString::number(p));
    if (!run_.Search().HasData()) return;
    SetStatus(0, QString::fromStdString(
                     YieldStatus(Text(kTextPreviewYield).toStdString(), run_.AlternativeYield(p))));
    SetStatus(1, QString::fromStdString(
                     PiecesStatus(Text(kTextPreviewPieces).toStdString(), run_.AlternativePieces(p),
                                  Text(kTextOfRemaining).toStdString(), run_.RemainingPieces())));
}

void ManualPage::AlphaStep(double step) {
    const std::optional<std::string> next =
        StepAlphaText(Edit12->text().trimmed().toStdString(), step);
    if (!next) {
        ShowLanguageMessage([this](int n) { return Text(n); }, MessageKind::Error, kTextNotANumber,
                            std::nullopt, MessageButtons::Ok, &form_);
        return;
    }
    Edit12->setText(QString::fromStdString(*next));
}

// ---- end notice and sound -----------------------------------------------------------------

void ManualPage::HideEndNotice() {
    Panel3->hide();
}

void ManualPage::Timer1Timer() {
    // The notice stays for one full second and goes at the second tick.
    if (++timerTicks_ < 2) return;
    Timer1->stop();
    HideEndNotice();
}

void ManualPage::SoundFailed() {
    if (soundOff_) return;
    soundOff_ = true;
    ShowLanguageMessage([this](int n) { return Text(n); }, MessageKind::Information,
                        kTextSoundFailed, std::nullopt, MessageButtons::Ok, &form_);
}

void ManualPage::PlayEndSound() {
    if (soundOff_) return;
    const Settings& settings = form_.settings();
    const QString standard = QString::fromStdString((form_.ProgramFolder() / "sound.wav").string());
    QString file = QString::fromStdString(settings.SoundPath);
    // A sound file that is gone is replaced quietly by the program's own sound.
    if (file.isEmpty() || !QFileInfo(file).isFile()) file = standard;
    if (!QFileInfo(file).isFile()) {
        SoundFailed();
        return;
    }
#ifdef TRIMORA_HAVE_MULTIMEDIA
    if (sound_ == nullptr) {
        sound_ = new QSoundEffect(this);
        // Playing is asynchronous; a file that cannot be decoded or a missing output device
        // reports an error later.
        connect(sound_, &QSoundEffect::statusChanged, this, [this] {
            if (sound_->status() == QSoundEffect::Error) SoundFailed();
        });
    }
    const QUrl source = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (sound_->source() != source) sound_->setSource(source);
    sound_->play();
#else
    SoundFailed();
#endif
}

// ---- O.K., finishing and abandoning -------------------------------------------------------

void ManualPage::BitBtn7Click() {
    if (searching_) return;
    HideEndNotice();
    const std::optional<ManualAdvance> advance =
        run_.Accept(form_.project(), ScrollBar1->value(), form_.settings().ManualDuplicate);
    if (!advance) return;
    switch (*advance) {
        case ManualAdvance::kNextSheet:
            ResetControls();
            ShowSheet();
            for (int i : {0, 1}) SetStatus(i, QString());
            BitBtn5->setFocus();
            return;
        case ManualAdvance::kLastSheetUsed:
            ShowLanguageMessage([this](int n) { return Text(n); }, MessageKind::Information,
                                kTextLastSheetUsed, std::nullopt, MessageButtons::Ok, &form_);
            break;
        case ManualAdvance::kFinished:
            break;
    }
    FinishManualRun();
}

void ManualPage::FinishManualRun() {
    Edit12->setText(kDefaultAlpha);
    Timer1->stop();
    HideEndNotice();
    ResetControls();
    form_.LeaveManualPage(false);
    form_.FinishRun();
}

void ManualPage::AbandonRun() {
    if (run_.Active() || searching_) PrekiniClick();
}

void ManualPage::PrekiniClick() {
    searching_ = false;
    ++searchToken_;
    run_.Abandon();
    Edit12->setText(kDefaultAlpha);
    Timer1->stop();
    HideEndNotice();
    ResetControls();
    form_.LeaveManualPage(true);
}

}  // namespace trimora
