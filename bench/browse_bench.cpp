// Listing a folder of 10,000 files: BrowseTo, then LoadAllDetails, against `ls -l` of
// the same folder as the yardstick. Usage: browse_bench [FILES]

#include "browser/Listing.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellIcons.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int files = argc > 1 ? atoi(argv[1]) : 10000;

    QTemporaryDir tmp;
    const QString dir = QDir::cleanPath(tmp.path());
    static const char* const exts[] = {".swf", ".exe", ".txt", ".png", ".html", ".mp3", ".zip", ""};
    for (int i = 0; i < files; ++i) {
        QFile f(dir + QString("/file%1%2").arg(i, 5, 10, QLatin1Char('0')).arg(exts[i % 8]));
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(i % 3000, 'x'));
    }
    for (int i = 0; i < files / 100; ++i)
        QDir(dir).mkdir(QString("folder%1").arg(i));
    TShellIcons::Instance();   // theme set-up is once per program, not per listing

    auto best = [](auto fn) {
        qint64 ms = -1;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer t;
            t.start();
            fn();
            const qint64 e = t.nsecsElapsed() / 1000;
            if (ms < 0 || e < ms)
                ms = e;
        }
        return ms / 1000.0;
    };

    const double ls = best([&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start("ls", {"-l", dir});
        p.waitForFinished(-1);
    });
    TListing listing;
    const TItemIdList pidl = IdListOfPath(dir);
    const double browse = best([&] { listing.Browse(pidl); });
    const double details = best([&] {
        listing.Browse(pidl);
        listing.LoadAllDetails();
    }) - browse;

    std::printf("%d files + %d folders, best of 5\n", files, files / 100);
    std::printf("ls -l           %8.1f ms\n", ls);
    std::printf("BrowseTo        %8.1f ms  (%.2fx ls -l)\n", browse, browse / ls);
    std::printf("LoadAllDetails  %8.1f ms  (%.2fx ls -l)\n", details, details / ls);
    std::printf("shown %d of %d\n", listing.ShownCount(), listing.AllCount());
    return 0;
}
