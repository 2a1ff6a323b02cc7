// A bar of bands in rows: each band holds one control; a band may start a new row. The last
// band of a row takes the rest of the row.
#pragma once

#include <QFrame>
#include <vector>

class QHBoxLayout;
class QVBoxLayout;

class TCoolBar : public QFrame {
    Q_OBJECT
public:
    explicit TCoolBar(QWidget* parent = nullptr);

    // width < 0: the band's control decides.
    int AddBand(QWidget* control, bool breakBefore, int minHeight, int width = -1);
    int BandCount() const { return int(FBands.size()); }
    QWidget* BandControl(int band) const;
    void SetBandMinHeight(int band, int height);
    int BandMinHeight(int band) const;

signals:
    void Resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Band {
        QWidget* control = nullptr;
        int minHeight = 0;
        int width = -1;
    };
    QVBoxLayout* FRows;
    QHBoxLayout* FRow = nullptr;
    std::vector<Band> FBands;
};
