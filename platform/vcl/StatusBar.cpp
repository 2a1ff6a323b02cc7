#include "platform/vcl/StatusBar.h"

#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

namespace {
constexpr int BarHeight = 23;
constexpr int PanelGap = 2;   // between panels, and above them
}

// A panel whose content the status bar's owner paints.
class TStatusPanel : public QFrame {
public:
    TStatusPanel(TStatusBar* bar, int index) : QFrame(bar), FBar(bar), FIndex(index)
    {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        if (!FBar->OnDrawPanel)
            return;
        QPainter p(this);
        p.translate(-pos());
        FBar->OnDrawPanel(FBar, p, FIndex, geometry());
    }

private:
    TStatusBar* FBar;
    int FIndex;
};

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(BarHeight);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int TStatusBar::AddPanel(int width, const QString& text, bool ownerDraw)
{
    const int index = PanelCount();
    Panel panel;
    panel.width = width;
    panel.text = text;
    panel.ownerDraw = ownerDraw;
    if (ownerDraw) {
        panel.widget = new TStatusPanel(this, index);
    } else {
        auto* label = new QLabel(text, this);
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setIndent(2);
        panel.widget = label;
    }
    panel.widget->setObjectName(objectName() + QStringLiteral("Panel%1").arg(index));
    panel.widget->setAccessibleName(QStringLiteral("Status panel %1").arg(index));
    panel.widget->show();
    FPanels.push_back(panel);
    Arrange();
    return index;
}

void TStatusBar::SetPanelText(int panel, const QString& text)
{
    if (!Valid(panel))
        return;
    Panel& p = FPanels[size_t(panel)];
    p.text = text;
    if (auto* label = qobject_cast<QLabel*>(p.widget))
        label->setText(text);
    else
        p.widget->update();
}

QString TStatusBar::PanelText(int panel) const
{
    return Valid(panel) ? FPanels[size_t(panel)].text : QString();
}

void TStatusBar::SetPanelWidth(int panel, int width)
{
    if (!Valid(panel))
        return;
    FPanels[size_t(panel)].width = qMax(0, width);
    Arrange();
}

int TStatusBar::PanelWidth(int panel) const
{
    return Valid(panel) ? FPanels[size_t(panel)].width : 0;
}

bool TStatusBar::PanelOwnerDraw(int panel) const
{
    return Valid(panel) && FPanels[size_t(panel)].ownerDraw;
}

QRect TStatusBar::PanelRect(int panel) const
{
    return Valid(panel) ? FPanels[size_t(panel)].widget->geometry() : QRect();
}

QWidget* TStatusBar::PanelWidget(int panel) const
{
    return Valid(panel) ? FPanels[size_t(panel)].widget : nullptr;
}

QSize TStatusBar::sizeHint() const
{
    int w = 0;
    for (const Panel& p : FPanels)
        w += p.width;
    return QSize(w, BarHeight);
}

void TStatusBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void TStatusBar::Arrange()
{
    int x = 0;
    for (size_t i = 0; i < FPanels.size(); ++i) {
        const bool last = i + 1 == FPanels.size();
        const int w = last ? qMax(FPanels[i].width, width() - x) : FPanels[i].width;
        FPanels[i].widget->setGeometry(x, PanelGap, qMax(0, w - PanelGap), height() - PanelGap);
        x += w;
    }
}
