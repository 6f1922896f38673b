// The QPainter drawing surface: frames, fills, dotted lines, text and its metrics.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "ui/qt_canvas.h"

using namespace trimora;

namespace {

bool IsWhite(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::white);
}

// Pixels that are not white inside a rectangle.
int InkIn(const QImage& image, const QRect& area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!IsWhite(image, x, y)) ++ink;
    return ink;
}

QImage White(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

}  // namespace

class TestQtCanvas : public QObject {
    Q_OBJECT
private slots:
    void frameAndFillKeepTheirEdgesExclusive() {
        QImage image = White(40, 40);
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.FillRect(0, 0, 40, 40, Color{0, 0, 255});
            canvas.FillRect(5, 5, 35, 35, kWhite);
            canvas.SetPen(Pen{Color{255, 0, 0}, 1, PenStyle::Solid});
            canvas.FrameRect(10, 10, 20, 20);
        }
        QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(4, 4), QColor(0, 0, 255));
        QVERIFY(IsWhite(image, 5, 5));
        QVERIFY(IsWhite(image, 34, 34));
        QCOMPARE(image.pixelColor(35, 35), QColor(0, 0, 255));
        for (const QPoint p : {QPoint(10, 10), QPoint(19, 10), QPoint(10, 19), QPoint(19, 19)})
            QCOMPARE(image.pixelColor(p), QColor(255, 0, 0));
        QVERIFY(IsWhite(image, 20, 20));
        QVERIFY(IsWhite(image, 15, 15));
    }

    void dottedLineLeavesGaps() {
        QImage image = White(60, 10);
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.SetPen(Pen{kBlack, 1, PenStyle::Dot});
            canvas.MoveTo(0, 5);
            canvas.LineTo(59, 5);
            canvas.SetPen(Pen{});
            canvas.MoveTo(0, 8);
            canvas.LineTo(59, 8);
        }
        const int dotted = InkIn(image, QRect(0, 5, 60, 1));
        QVERIFY2(dotted > 10 && dotted < 50, qPrintable(QString::number(dotted)));
        QCOMPARE(InkIn(image, QRect(0, 8, 59, 1)), 59);
    }

    void textIsMeasuredAndTurned() {
        QImage image = White(200, 200);
        int width = 0;
        int height = 0;
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.SetFont(Font{"Arial", 10, false});
            width = canvas.TextWidth("1234.5");
            height = canvas.TextHeight("1234.5");
            QVERIFY(width > 10);
            QVERIFY(height > 5);
            QVERIFY(canvas.TextWidth("1234.5 x 600") > width);
            canvas.SetFont(Font{"Arial", 20, true});
            QVERIFY(canvas.TextWidth("1234.5") > width);
            canvas.SetFont(Font{"Arial", 10, false});
            canvas.TextOut(10, 10, "1234.5");
            // Turned by 90 degrees it reads upwards from its corner.
            canvas.TextOut(100, 190, "1234.5", 900);
        }
        QVERIFY(InkIn(image, QRect(10, 10, width, height)) > 0);
        QCOMPARE(InkIn(image, QRect(10, 10 + height + 2, width, 30)), 0);
        QVERIFY(InkIn(image, QRect(100, 190 - width, height, width)) > 0);
        QCOMPARE(InkIn(image, QRect(101 + height, 100, 99 - height, 99)), 0);
    }
};

QTEST_MAIN(TestQtCanvas)
#include "test_qt_canvas.moc"
