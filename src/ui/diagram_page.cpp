#include "ui/diagram_page.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt_canvas.h"

namespace trimora {

namespace {

QLabel* NewLabel(const char* name, const char* caption, int pixelHeight, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixelHeight);
    label->setFont(font);
    return label;
}

bool SameRect(const FrameMark& a, const FrameMark& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

// ---- surface ------------------------------------------------------------------------------

DiagramSurface::DiagramSurface(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
}

void DiagramSurface::SetDiagram(const QImage& image) {
    diagram_ = image;
    frames_.clear();
    update();
}

void DiagramSurface::AddFrames(const std::vector<FrameMark>& frames) {
    for (const FrameMark& frame : frames) {
        auto same = std::find_if(frames_.begin(), frames_.end(),
                                 [&](const FrameMark& f) { return SameRect(f, frame); });
        if (same != frames_.end())
            *same = frame;
        else
            frames_.push_back(frame);
    }
    update();
}

void DiagramSurface::ClearFrames() {
    frames_.clear();
    update();
}

void DiagramSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!diagram_.isNull()) painter.drawImage(0, 0, diagram_);
    QtCanvas canvas(painter);
    DrawFrames(canvas, frames_);
}

void DiagramSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

void DiagramSurface::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void DiagramSurface::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
}

// ---- page ---------------------------------------------------------------------------------

DiagramPage::DiagramPage(Project& project, Sources sources, QWidget* parent)
    : QWidget(parent), project_(project), sources_(std::move(sources)) {
    setObjectName("pag3");

    panViewCtrl = new QWidget(this);
    panViewCtrl->setObjectName("panViewCtrl");
    Label39 = NewLabel("Label39", "0", 19, panViewCtrl);
    Label39->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label39->setMinimumWidth(40);
    QPalette numberPalette = Label39->palette();
    numberPalette.setColor(QPalette::WindowText, QColor(128, 64, 64));
    Label39->setPalette(numberPalette);
    ScrollBar2 = new QScrollBar(Qt::Horizontal, panViewCtrl);
    ScrollBar2->setObjectName("ScrollBar2");
    ScrollBar2->setPageStep(10);
    ScrollBar2->setRange(0, 0);
    ScrollBar2->setMinimumWidth(120);
    Label7 = NewLabel("Label7", "Duz: Vis: P:", 13, panViewCtrl);
    Label44 = NewLabel("Label44", "Duz: Vis: P:", 13, panViewCtrl);
    BitBtn8 = new QPushButton(QStringLiteral("Stampaj"), panViewCtrl);
    BitBtn8->setObjectName("BitBtn8");
    // Printing the diagrams comes with the printing feature.
    BitBtn8->setEnabled(false);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(Label7);
    texts->addWidget(Label44);
    auto* ctrl = new QHBoxLayout(panViewCtrl);
    ctrl->setContentsMargins(4, 4, 4, 4);
    ctrl->addWidget(Label39);
    ctrl->addWidget(ScrollBar2);
    ctrl->addSpacing(10);
    ctrl->addLayout(texts, 1);
    ctrl->addWidget(BitBtn8, 0, Qt::AlignRight | Qt::AlignTop);

    panViewDiagram = new QWidget(this);
    panViewDiagram->setObjectName("panViewDiagram");
    Image5 = new DiagramSurface(panViewDiagram);
    Image5->setObjectName("Image5");
    auto* diagram = new QVBoxLayout(panViewDiagram);
    diagram->setContentsMargins(2, 2, 2, 2);
    diagram->addWidget(Image5);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panViewCtrl);
    layout->addWidget(panViewDiagram, 1);

    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this] { ScrollBar2Change(); });
    connect(Image5, &DiagramSurface::resized, this, [this] { Redraw(); });
    connect(Image5, &DiagramSurface::mouseMoved, this,
            [this](QPoint p) { Image5MouseMove(p.x(), p.y()); });
    connect(Image5, &DiagramSurface::clicked, this, [this] { Image5Click(); });
}

void DiagramPage::WatchEnter(QWidget* control) {
    watched_ = control;
    control->installEventFilter(this);
}

bool DiagramPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watched_ && event->type() == QEvent::Enter) ResetHover();
    return QWidget::eventFilter(watched, event);
}

void DiagramPage::ResetHover() {
    pick_.hoveredOffcut = kNoOffcut;
}

int DiagramPage::CurrentLayout() const {
    return ScrollBar2->value();
}

void DiagramPage::Refresh() {
    const int count = sources_.layouts ? sources_.layouts().LayoutCount() : 0;
    const QSignalBlocker block(ScrollBar2);
    ScrollBar2->setRange(0, std::max(count - 1, 0));
    ScrollBar2Change();
}

void DiagramPage::Rewind() {
    const QSignalBlocker block(ScrollBar2);
    ScrollBar2->setValue(0);
}

void DiagramPage::ShowLayout(int index) {
    const bool same = ScrollBar2->value() == index;
    ScrollBar2->setValue(index);
    if (same) ScrollBar2Change();
}

void DiagramPage::ScrollBar2Change() {
    // A new layout or changed data: a pending pick and the hover frames belong to the old one.
    pick_ = DiagramPick{};
    Redraw();
}

void DiagramPage::Redraw() {
    if (!sources_.layouts || Image5->width() <= 0 || Image5->height() <= 0) return;
    QImage image(Image5->size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    DiagramLabels labels;
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        labels = PaintLayout(canvas, project_, sources_.layouts(), ScrollBar2->value(),
                             image.width(), image.height(), sources_.options(), sources_.text);
    }
    if (labels.painted) {
        Label39->setText(QString::fromStdString(labels.Label39));
        Label7->setText(QString::fromStdString(labels.Label7));
    }
    Image5->SetDiagram(image);
}

void DiagramPage::Image5MouseMove(int x, int y) {
    if (!sources_.layouts || sources_.layouts().LayoutCount() == 0) return;
    const HoverResult hover =
        ShowPieceUnderMouse(project_, sources_.layouts(), ScrollBar2->value(), Image5->width(),
                            Image5->height(), sources_.options(), sources_.text, pick_, x, y);
    if (hover.Label44) Label44->setText(QString::fromStdString(*hover.Label44));
    pick_.hoveredOffcut = hover.hoveredOffcut;
    Image5->AddFrames(hover.frames);
}

void DiagramPage::Image5Click() {
    if (ResplitOffcuts(project_.result, pick_) == ResplitOutcome::Resplit) emit offcutsResplit();
}

}  // namespace trimora
