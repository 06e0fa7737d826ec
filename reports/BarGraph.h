#pragma once

#include "reports/ProductGraph.h"

#include <QWidget>

class QLabel;

// One rectangle of the graph, placed and coloured in twips.
class BarShape : public QWidget {
    Q_OBJECT
public:
    BarShape(const QString& name, QWidget* parent);
    const ProductGraph::Bar& bar() const { return bar_; }
    void setBar(const ProductGraph::Bar& bar);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProductGraph::Bar bar_{};
};

// The product graph: 31 bars a series over a baseline with five grid steps,
// the scale texts beside the steps and the day numbers below. Everything is
// laid out in twips and scaled to the widget as one piece, so the graph keeps
// its proportions in a window of any size.
class BarGraph : public QWidget {
    Q_OBJECT
public:
    explicit BarGraph(QWidget* parent);

    BarShape* shape(ProductGraph::Series series, int day) const;
    void setBar(ProductGraph::Series series, int day, const ProductGraph::Bar& bar);
    // LabelW(0) to LabelW(6).
    void setMarks(const QStringList& texts);
    // Every bar flat on the baseline.
    void reset();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Frame {
        double scale;
        QPointF origin;
        QRect map(int left, int top, int width, int height) const;
    };
    Frame frame() const;
    void place();

    QList<BarShape*> product_;
    QList<BarShape*> comparison_;
    QList<QLabel*> marks_;
};
