// The Options dialog: capture, connection and database pages over the in-memory Settings, and
// the maintenance buttons of the two database files.
#pragma once

#include "platform/db/ADOQuery.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class TLibraryDatabases;

class TOptionDialog : public QDialog {
    Q_OBJECT
public:
    TOptionDialog(QWidget* owner, TLibraryDatabases& databases);

    // The folder prompt; tests put a scripted one here.
    using TFolderPrompt = std::function<QString(QWidget* owner, const QString& caption, const QString& instruction,
                                                bool editBox, const QString& okText)>;
    TFolderPrompt FolderPrompt;

    void ApplyOptions();

    // Controls by their component names.
    QTabWidget* PageControl1;
    QWidget *Database, *TabSheet1, *TabSheet2;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8, *Button9;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit8, *Edit9, *Edit10, *Edit11;
    QCheckBox *CheckBox1, *CheckBox2;
    QRadioButton *RadioButton1, *RadioButton2;
    QSlider* TrackBar1;
    QSpinBox* UpDown1;            // its line edit is Edit11
    QGroupBox* GroupBox8;
    QLabel *LabelProxy, *LabelPort, *LabelSmallest, *LabelMiddle, *LabelBest;

    // Handlers, as the buttons and boxes call them.
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void CheckBox1Click();
    void RadioButton1Click();
    void RadioButton2Click();

private:
    void FormCreate();
    void BuildCapturePage();
    void BuildConnectionPage();
    void BuildDatabasePage();
    void EnableApply();
    void PickFolder(QLineEdit* edit);

    TLibraryDatabases& FDatabases;
    TADOQuery ADOQuery1;          // on the thumbnail connection
    TADOQuery ADOQuery2;          // on the library connection
    int FNextLabel = 1;
    int FNextGroup = 1;
    int FNextImage = 1;

    QGroupBox* Group(QWidget* page, const QString& title, QRect bounds, const QString& icon, QPoint imageAt = {6, 18});
    QLabel* Text(QWidget* parent, const QString& text, QRect bounds, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    QLineEdit* EditBox(QWidget* parent, const char* name, QRect bounds, const QString& accessibleName);
    QPushButton* Button(QWidget* parent, const char* name, const QString& text, QRect bounds);
};
