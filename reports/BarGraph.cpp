#include "reports/BarGraph.h"

#include <QLabel>
#include <QPainter>

using namespace ProductGraph;

namespace {
// The part of the form the graph takes, in twips: the scale texts left of
// the bars, the day numbers under the baseline.
constexpr int AreaLeft = 200;
constexpr int AreaTop = 1500;
constexpr int AreaRight = FirstLeft + Pitch * Days + 100;
constexpr int AreaBottom = Baseline + 450;
constexpr int MarkRight = FirstLeft - 150;
constexpr int TextHeight = 260;

QColor systemColour(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
} // namespace

BarShape::BarShape(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BarShape::setBar(const ProductGraph::Bar& bar)
{
    bar_ = bar;
    update();
}

void BarShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), systemColour(bar_.colour));
}

QRect BarGraph::Frame::map(int left, int top, int width, int height) const
{
    const QPointF topLeft = origin + QPointF(left - AreaLeft, top - AreaTop) * scale;
    const QPointF bottomRight =
        origin + QPointF(left + width - AreaLeft, top + height - AreaTop) * scale;
    return QRectF(topLeft, bottomRight).toAlignedRect();
}

BarGraph::BarGraph(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Graph"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    // The pale bars lie under the product's, 40 twips to the right.
    for (int day = 1; day <= Days; ++day)
        comparison_ << new BarShape(QStringLiteral("Shape2(%1)").arg(day), this);
    for (int day = 1; day <= Days; ++day)
        product_ << new BarShape(QStringLiteral("Shape1(%1)").arg(day), this);
    for (int i = 0; i <= 6; ++i) {
        auto* mark = new QLabel(this);
        mark->setObjectName(QStringLiteral("LabelW(%1)").arg(i));
        mark->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        marks_ << mark;
    }
    reset();
}

BarShape* BarGraph::shape(Series series, int day) const
{
    return (series == Series::Product ? product_ : comparison_).value(day - 1);
}

void BarGraph::setMarks(const QStringList& texts)
{
    for (qsizetype i = 0; i < marks_.size(); ++i)
        marks_[i]->setText(texts.value(i));
}

void BarGraph::setBar(Series series, int day, const Bar& bar)
{
    BarShape* s = shape(series, day);
    s->setBar(bar);
    s->setGeometry(frame().map(bar.left, bar.top, bar.width, bar.height));
    s->setVisible(bar.height > 0);
}

void BarGraph::reset()
{
    for (int day = 1; day <= Days; ++day) {
        setBar(Series::Product, day, flat(day, Series::Product));
        setBar(Series::Comparison, day, flat(day, Series::Comparison));
    }
}

QSize BarGraph::sizeHint() const
{
    return {(AreaRight - AreaLeft) / 15, (AreaBottom - AreaTop) / 15};
}

QSize BarGraph::minimumSizeHint() const
{
    return sizeHint() / 2;
}

BarGraph::Frame BarGraph::frame() const
{
    const double scale =
        std::min(width() / double(AreaRight - AreaLeft), height() / double(AreaBottom - AreaTop));
    const QPointF origin((width() - (AreaRight - AreaLeft) * scale) / 2,
                         (height() - (AreaBottom - AreaTop) * scale) / 2);
    return {scale, origin};
}

void BarGraph::place()
{
    const Frame f = frame();
    for (int day = 1; day <= Days; ++day) {
        for (Series series : {Series::Comparison, Series::Product})
            setBar(series, day, shape(series, day)->bar());
    }
    QFont small = font();
    small.setPixelSize(std::max(8, static_cast<int>(TextHeight * 0.75 * f.scale)));
    // The steps' texts stand beside their lines, the unit texts beside and
    // under the baseline.
    for (int i = 0; i < marks_.size(); ++i) {
        const int middle = i == 0 ? Baseline : i == 6 ? Baseline + 300 : Baseline - Step * i;
        marks_[i]->setFont(small);
        marks_[i]->setGeometry(
            f.map(AreaLeft, middle - TextHeight / 2, MarkRight - AreaLeft, TextHeight));
    }
}

void BarGraph::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void BarGraph::paintEvent(QPaintEvent*)
{
    const Frame f = frame();
    QPainter painter(this);
    const int right = FirstLeft + Pitch * Days;
    painter.setPen(QColor(200, 200, 200));
    for (int step = 1; step <= 5; ++step) {
        const QRect line = f.map(FirstLeft - 100, Baseline - Step * step, right - FirstLeft, 0);
        painter.drawLine(line.topLeft(), line.topRight());
    }
    painter.setPen(Qt::black);
    const QRect base = f.map(FirstLeft - 100, Baseline, right - FirstLeft, 0);
    painter.drawLine(base.topLeft(), base.topRight());
    QFont small = font();
    small.setPixelSize(std::max(7, static_cast<int>(TextHeight * 0.6 * f.scale)));
    painter.setFont(small);
    for (int day = 1; day <= Days; ++day) {
        const QRect cell =
            f.map(FirstLeft + Pitch * (day - 1) - 40, Baseline + 110, Pitch, TextHeight);
        painter.drawText(cell, Qt::AlignCenter, QString::number(day));
    }
}
