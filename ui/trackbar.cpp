#include "ui/trackbar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QSlider>

namespace {

constexpr int kLineSize = 1;
// A fifth of the range, the trackbar's own page.
constexpr int kPageSize = 20;

// The trackbar's keys, which do not follow the orientation as QSlider's do
// (there Up and Page Up raise the value, and a vertical slider's Left and Right
// follow its inverted appearance).
class TrackbarKeys final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const QAbstractSlider::SliderAction action = ActionFor(static_cast<QKeyEvent*>(event)->key());
        if (action == QAbstractSlider::SliderNoAction) return false;
        static_cast<QSlider*>(watched)->triggerAction(action);
        return true;
    }

private:
    static QAbstractSlider::SliderAction ActionFor(int key)
    {
        switch (key) {
        case Qt::Key_Down:
        case Qt::Key_Right: return QAbstractSlider::SliderSingleStepAdd;
        case Qt::Key_Up:
        case Qt::Key_Left: return QAbstractSlider::SliderSingleStepSub;
        case Qt::Key_PageDown: return QAbstractSlider::SliderPageStepAdd;
        case Qt::Key_PageUp: return QAbstractSlider::SliderPageStepSub;
        case Qt::Key_End: return QAbstractSlider::SliderToMaximum;
        case Qt::Key_Home: return QAbstractSlider::SliderToMinimum;
        default: return QAbstractSlider::SliderNoAction;
        }
    }
};

// A left click in the channel pages towards it; some desktop styles would make it
// jump the thumb to the click instead.
class TrackbarStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Slider_PageSetButtons) return Qt::LeftButton;
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::NoButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QSlider* CreateTrackbar(Qt::Orientation orientation, QWidget* parent)
{
    auto* slider = new QSlider(orientation, parent);
    slider->setRange(0, 100);
    slider->setValue(0);
    slider->setSingleStep(kLineSize);
    slider->setPageStep(kPageSize);
    slider->setTickPosition(QSlider::NoTicks);
    // A vertical trackbar grows downward: 0 at the top.
    slider->setInvertedAppearance(orientation == Qt::Vertical);
    slider->installEventFilter(new TrackbarKeys(slider));
    auto* style = new TrackbarStyle(QApplication::style()->name());
    style->setParent(slider);
    slider->setStyle(style);
    return slider;
}
