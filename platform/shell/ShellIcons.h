#pragma once
// The shared icon list that stands in for the system image lists: one index per
// icon, each with a 16 and a 32 pixel image, from the Adwaita theme. File types are
// looked up by name in the MIME database (no content sniffing) and cached per name
// tail, so listing a big folder costs one hash lookup per file.
// User interface thread only.

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <vector>

class TShellIcons {
public:
    static constexpr int SmallSize = 16;
    static constexpr int LargeSize = 32;

    static TShellIcons& Instance();

    // Index of a theme icon by name, added on first use.
    int IndexOfName(const QString& iconName);
    int FolderIcon(bool open);
    int MovieIcon();        // ":/icons/movie.png" when the resources have it
    int GenericFileIcon();
    int ComputerIcon();
    int DriveIcon();
    int RemovableDriveIcon();
    int HomeIcon();
    int DocumentsIcon();
    int DesktopIcon();

    int Count() const { return int(FEntries.size()); }
    QIcon Icon(int index);                    // null icon for a bad index
    QPixmap Pixmap(int index, bool large);    // 32 px when large, else 16 px

    struct TFileType {
        int iconIndex = -1;
        QString typeName;
    };
    // Type of a file by its name alone.
    const TFileType& TypeOfFileName(const QString& fileName);
    QString FolderTypeName();

private:
    TShellIcons();
    struct TEntry {
        QString name;      // theme icon name or ":/" resource
        QIcon icon;
        bool loaded = false;
    };
    std::vector<TEntry> FEntries;
    QHash<QString, int> FByName;
    QHash<QString, TFileType> FTypes;
    QString FFolderTypeName;
};

// Points Qt at the installed icon theme (the offscreen and plain X11 platforms have
// none); idempotent.
void InitIconTheme();
