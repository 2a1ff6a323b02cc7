// The folder prompt: the caller's texts, named controls, only existing folders, empty on cancel.
#include "browser/BrowseFolder.h"

#include "tests/support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <fstream>

#include <gtest/gtest.h>

namespace {

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// Clicks a button of the prompt once it is open, after typing text into its path box.
void WhenOpen(const QString& text, const char* button)
{
    QTimer::singleShot(50, [text, button] {
        auto* dialog = qobject_cast<TBrowseFolderDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (dialog->PathEdit)
            dialog->PathEdit->setText(text);
        dialog->findChild<QPushButton*>(button)->click();
        // A refused OK leaves the prompt open: cancel it so that the test goes on.
        if (dialog->isVisible())
            dialog->CancelButton->click();
    });
}

}  // namespace

TEST(BrowseFolderTest, ShowsTheCallersTextsOnNamedControls)
{
    TBrowseFolderDialog d(nullptr, "Copy Items", "Choose the folder to copy to", false, "Copy");
    EXPECT_EQ(d.windowTitle(), "Copy Items");
    auto* label = d.findChild<QLabel*>("lblInstruction");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Choose the folder to copy to");
    auto* ok = d.findChild<QPushButton*>("btnOK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "Copy");
    EXPECT_NE(d.findChild<QPushButton*>("btnCancel"), nullptr);
    auto* tree = d.findChild<QTreeView*>("FolderTree");
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(tree->accessibleName().isEmpty());
    EXPECT_EQ(d.findChild<QLineEdit*>("edPath"), nullptr) << "no path box was asked for";
    // Home is expanded, nothing chosen yet.
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(tree->isExpanded(model->index(QDir::homePath())));
    EXPECT_TRUE(d.SelectedPath().isEmpty());
    EXPECT_FALSE(ok->isEnabled());
    // Folders only.
    EXPECT_FALSE(model->filter() & QDir::Files);
}

TEST(BrowseFolderTest, OnlyExistingFoldersCanBeChosen)
{
    swftest::TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    { std::ofstream(dir / "file.txt") << "x"; }
    TBrowseFolderDialog d(nullptr, "Browse For Folder", "Choose directory to export sound", true, "OK");
    auto* edit = d.findChild<QLineEdit*>("edPath");
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->accessibleName().isEmpty());
    struct Case { QString typed; QString chosen; };
    const Case cases[] = {
        {Q(dir / "sub"), Q(dir / "sub")},
        {Q(dir / "sub") + "/", Q(dir / "sub")},
        {Q(dir / "missing"), ""},
        {Q(dir / "file.txt"), ""},
        {"relative/path", ""},
        {"", ""},
        {"~", QDir::homePath()},
    };
    for (const Case& c : cases) {
        edit->setText(c.typed);
        EXPECT_EQ(d.SelectedPath(), c.chosen) << c.typed.toStdString();
        EXPECT_EQ(d.OKButton->isEnabled(), !c.chosen.isEmpty()) << c.typed.toStdString();
    }
    // Choosing in the tree fills the path box.
    auto* model = qobject_cast<QFileSystemModel*>(d.FolderTree->model());
    d.FolderTree->setCurrentIndex(model->index(Q(dir / "sub")));
    EXPECT_EQ(edit->text(), Q(dir / "sub"));
    EXPECT_EQ(d.SelectedPath(), Q(dir / "sub"));
}

TEST(BrowseFolderTest, ModalPromptReturnsTheFolderOrEmpty)
{
    swftest::TempDir dir;
    WhenOpen(Q(dir.Path()), "btnOK");
    EXPECT_EQ(BrowseForFolder(nullptr, "Browse For Folder", "Choose", true, "OK"), Q(dir.Path()));

    WhenOpen(Q(dir.Path()), "btnCancel");
    EXPECT_EQ(BrowseForFolder(nullptr, "Browse For Folder", "Choose", true, "OK"), QString());

    WhenOpen(Q(dir / "missing"), "btnOK");
    EXPECT_EQ(BrowseForFolder(nullptr, "Browse For Folder", "Choose", true, "OK"), QString());
}
