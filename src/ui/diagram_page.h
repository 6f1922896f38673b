// The preview page: one layout of the last result at a time as a scaled cutting diagram, a
// scroll bar through the layouts, the piece under the mouse, and the re-division of two
// touching offcuts picked one after the other.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

#include "output/diagram.h"

class QLabel;
class QScrollBar;
class QPushButton;

namespace trimora {

// The paint surface: shows the drawn diagram and the hover frames over it.
class DiagramSurface : public QWidget {
    Q_OBJECT
public:
    explicit DiagramSurface(QWidget* parent = nullptr);

    void SetDiagram(const QImage& image);
    // Frames replace earlier ones of the same rectangle; ClearFrames drops them all.
    void AddFrames(const std::vector<FrameMark>& frames);
    void ClearFrames();
    const QImage& Diagram() const { return diagram_; }

signals:
    void resized();
    void mouseMoved(QPoint position);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage diagram_;
    std::vector<FrameMark> frames_;
};

class DiagramPage : public QWidget {
    Q_OBJECT
public:
    struct Sources {
        std::function<const LayoutList&()> layouts;
        std::function<DiagramOptions()> options;
        TextLookup text;
    };
    DiagramPage(Project& project, Sources sources, QWidget* parent = nullptr);

    // The result changed (a run, a re-split): the scroll bar takes the new layout count and
    // the diagram is drawn anew without a pending pick.
    void Refresh();
    // Moves to layout `index` (the scroll bar's position).
    void ShowLayout(int index);
    int CurrentLayout() const;
    // Back to the first layout without drawing: a new result follows (Refresh).
    void Rewind();
    // Forgets the piece last under the mouse (the mouse entered the page control).
    void ResetHover();

    // Handlers with the controls' names.
    void ScrollBar2Change();
    void Image5MouseMove(int x, int y);
    void Image5Click();

    const DiagramPick& Pick() const { return pick_; }
    DiagramSurface* Surface() const { return Image5; }

signals:
    // Two offcuts were re-divided: the statistics, the report and the bill are stale.
    void offcutsResplit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // Resets the hover state whenever the mouse enters `control`.
    void WatchEnter(QWidget* control);

private:
    void Redraw();

    Project& project_;
    Sources sources_;
    DiagramPick pick_;

    QWidget* panViewCtrl = nullptr;
    QWidget* panViewDiagram = nullptr;
    QLabel* Label39 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label44 = nullptr;
    QPushButton* BitBtn8 = nullptr;
    DiagramSurface* Image5 = nullptr;
    QWidget* watched_ = nullptr;
};

}  // namespace trimora
