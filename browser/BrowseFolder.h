// The shared folder prompt: a modal dialog with the caller's title, instruction and OK text,
// a tree of file-system folders with home expanded, and an optional path box. Only an
// existing folder can be chosen.
#pragma once

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The chosen folder's path, empty when the user cancels.
QString BrowseForFolder(QWidget* owner, const QString& caption, const QString& instruction,
                        bool editBox, const QString& okText);

class TBrowseFolderDialog : public QDialog {
    Q_OBJECT
public:
    TBrowseFolderDialog(QWidget* owner, const QString& caption, const QString& instruction,
                        bool editBox, const QString& okText);

    QString SelectedPath() const;   // the folder OK would return; empty when none is valid

    QLabel* Instruction = nullptr;     // "lblInstruction"
    QTreeView* FolderTree = nullptr;   // "FolderTree"
    QLineEdit* PathEdit = nullptr;     // "edPath", only with the edit box
    QPushButton* OKButton = nullptr;   // "btnOK"
    QPushButton* CancelButton = nullptr;   // "btnCancel"

private:
    void TreeSelectionChanged();
    void UpdateOK();

    QFileSystemModel* FModel = nullptr;
};
