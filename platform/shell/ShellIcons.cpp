#include "platform/shell/ShellIcons.h"

#include <QFile>
#include <QMimeDatabase>
#include <QMimeType>

namespace {

const QString MovieResource = QStringLiteral(":/icons/movie.png");

// Type names are kept to what the shell's 80-character buffer would hold.
constexpr int MaxTypeName = 79;

bool IsMovieName(const QString& name)
{
    return name.size() >= 4 && name.right(4).toLower() == QLatin1String(".swf");
}

// The part of a name that file-type globs look at: everything after the first dot
// that is not the leading one, or the whole name when it has no extension.
QString NameTail(const QString& name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
    return dot < 0 ? name : name.mid(dot);
}

}  // namespace

void InitIconTheme()
{
    if (QIcon::themeName() == QLatin1String("Adwaita"))
        return;
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(QLatin1String("/usr/share/icons")))
        paths.prepend(QStringLiteral("/usr/share/icons"));
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
}

TShellIcons& TShellIcons::Instance()
{
    static TShellIcons icons;
    return icons;
}

TShellIcons::TShellIcons()
{
    InitIconTheme();
    FFolderTypeName = QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment();
    if (FFolderTypeName.isEmpty())
        FFolderTypeName = QStringLiteral("Folder");
}

int TShellIcons::IndexOfName(const QString& iconName)
{
    const auto it = FByName.constFind(iconName);
    if (it != FByName.constEnd())
        return it.value();
    const int index = int(FEntries.size());
    FEntries.push_back(TEntry{iconName, QIcon(), false});
    FByName.insert(iconName, index);
    return index;
}

int TShellIcons::FolderIcon(bool open)
{
    return IndexOfName(open ? QStringLiteral("folder-open") : QStringLiteral("folder"));
}

int TShellIcons::MovieIcon()
{
    return IndexOfName(QFile::exists(MovieResource) ? MovieResource : QStringLiteral("video-x-generic"));
}

int TShellIcons::GenericFileIcon() { return IndexOfName(QStringLiteral("text-x-generic")); }
int TShellIcons::ComputerIcon() { return IndexOfName(QStringLiteral("computer")); }
int TShellIcons::DriveIcon() { return IndexOfName(QStringLiteral("drive-harddisk")); }
int TShellIcons::RemovableDriveIcon() { return IndexOfName(QStringLiteral("drive-removable-media")); }
int TShellIcons::HomeIcon() { return IndexOfName(QStringLiteral("user-home")); }
int TShellIcons::DocumentsIcon() { return IndexOfName(QStringLiteral("folder-documents")); }
int TShellIcons::DesktopIcon() { return IndexOfName(QStringLiteral("user-desktop")); }

QIcon TShellIcons::Icon(int index)
{
    if (index < 0 || index >= Count())
        return QIcon();
    TEntry& e = FEntries[size_t(index)];
    if (!e.loaded) {
        e.loaded = true;
        if (e.name.startsWith(QLatin1String(":/")))
            e.icon = QIcon(e.name);
        else
            e.icon = QIcon::fromTheme(e.name);
        if (e.icon.isNull())
            e.icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
    }
    return e.icon;
}

QPixmap TShellIcons::Pixmap(int index, bool large)
{
    const QIcon icon = Icon(index);
    if (icon.isNull())
        return QPixmap();
    const int size = large ? LargeSize : SmallSize;
    return icon.pixmap(size, size);
}

const TShellIcons::TFileType& TShellIcons::TypeOfFileName(const QString& fileName)
{
    const QString tail = NameTail(fileName);
    const auto it = FTypes.constFind(tail);
    if (it != FTypes.constEnd())
        return it.value();

    TFileType type;
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    type.typeName = mime.comment().left(MaxTypeName);
    if (IsMovieName(fileName)) {
        type.iconIndex = MovieIcon();
    } else {
        QString iconName = mime.iconName();
        if (!QIcon::hasThemeIcon(iconName))
            iconName = mime.genericIconName();
        if (!QIcon::hasThemeIcon(iconName))
            iconName = QStringLiteral("text-x-generic");
        type.iconIndex = IndexOfName(iconName);
    }
    return FTypes.insert(tail, type).value();
}

QString TShellIcons::FolderTypeName()
{
    return FFolderTypeName;
}
