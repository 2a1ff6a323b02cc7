#include "browser/BrowseFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TBrowseFolderDialog::TBrowseFolderDialog(QWidget* owner, const QString& caption,
                                         const QString& instruction, bool editBox,
                                         const QString& okText)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("BrowseFolderDialog"));
    setWindowTitle(caption);
    setSizeGripEnabled(true);
    resize(340, 400);

    auto* layout = new QVBoxLayout(this);
    Instruction = new QLabel(instruction, this);
    Instruction->setObjectName(QStringLiteral("lblInstruction"));
    Instruction->setWordWrap(true);
    layout->addWidget(Instruction);

    FModel = new QFileSystemModel(this);
    FModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    FModel->setRootPath(QDir::rootPath());

    FolderTree = new QTreeView(this);
    FolderTree->setObjectName(QStringLiteral("FolderTree"));
    FolderTree->setAccessibleName(QStringLiteral("Folders"));
    FolderTree->setModel(FModel);
    FolderTree->setHeaderHidden(true);
    for (int c = 1; c < FModel->columnCount(); ++c)
        FolderTree->hideColumn(c);
    FolderTree->setUniformRowHeights(true);
    layout->addWidget(FolderTree, 1);

    // Home takes the place of My Computer: expanded, nothing selected.
    const QModelIndex home = FModel->index(QDir::homePath());
    for (QModelIndex i = home; i.isValid(); i = i.parent())
        FolderTree->expand(i);
    FolderTree->scrollTo(home);

    if (editBox) {
        PathEdit = new QLineEdit(this);
        PathEdit->setObjectName(QStringLiteral("edPath"));
        PathEdit->setAccessibleName(QStringLiteral("Folder path"));
        layout->addWidget(PathEdit);
        connect(PathEdit, &QLineEdit::textChanged, this, &TBrowseFolderDialog::UpdateOK);
    }

    auto* buttons = new QDialogButtonBox(this);
    OKButton = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
    OKButton->setObjectName(QStringLiteral("btnOK"));
    OKButton->setDefault(true);
    CancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    CancelButton->setObjectName(QStringLiteral("btnCancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!SelectedPath().isEmpty())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FolderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TBrowseFolderDialog::TreeSelectionChanged);
    UpdateOK();
}

void TBrowseFolderDialog::TreeSelectionChanged()
{
    if (PathEdit)
        PathEdit->setText(QDir::toNativeSeparators(FModel->filePath(FolderTree->currentIndex())));
    UpdateOK();
}

QString TBrowseFolderDialog::SelectedPath() const
{
    QString path;
    if (PathEdit) {
        path = PathEdit->text().trimmed();
        if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
            path = QDir::homePath() + path.mid(1);
    } else if (FolderTree->currentIndex().isValid()) {
        path = FModel->filePath(FolderTree->currentIndex());
    }
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isAbsolute() || !info.isDir())
        return {};
    return QDir::cleanPath(info.absoluteFilePath());
}

void TBrowseFolderDialog::UpdateOK() { OKButton->setEnabled(!SelectedPath().isEmpty()); }

QString BrowseForFolder(QWidget* owner, const QString& caption, const QString& instruction,
                        bool editBox, const QString& okText)
{
    TBrowseFolderDialog dialog(owner, caption, instruction, editBox, okText);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.SelectedPath();
}
