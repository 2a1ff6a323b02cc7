// Status bar of fixed-width panels, the last one running to the right edge. A panel may be
// drawn by its owner (OnDrawPanel); the others show their text.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;

class TStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    int AddPanel(int width, const QString& text = QString(), bool ownerDraw = false);
    int PanelCount() const { return int(FPanels.size()); }

    void SetPanelText(int panel, const QString& text);
    QString PanelText(int panel) const;
    void SetPanelWidth(int panel, int width);
    int PanelWidth(int panel) const;
    bool PanelOwnerDraw(int panel) const;
    QRect PanelRect(int panel) const;  // in status bar coordinates
    QWidget* PanelWidget(int panel) const;

    // Paints an owner-drawn panel; the painter works in status bar coordinates and rect is
    // the panel's rectangle.
    std::function<void(TStatusBar* bar, QPainter& painter, int panel, const QRect& rect)> OnDrawPanel;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TStatusPanel;
    struct Panel {
        int width = 0;
        QString text;
        bool ownerDraw = false;
        QWidget* widget = nullptr;
    };
    void Arrange();
    bool Valid(int panel) const { return panel >= 0 && panel < PanelCount(); }

    std::vector<Panel> FPanels;
};
