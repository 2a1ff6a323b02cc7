// Reelstage's main window. For now an empty window with its caption; the player grows here.
#pragma once

#include <QMainWindow>

class TPlayerMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TPlayerMainForm(QWidget* parent = nullptr);
};
