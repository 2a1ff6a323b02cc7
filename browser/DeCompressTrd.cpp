#include "browser/DeCompressTrd.h"

#include <QFile>

TDeCompressThread::TDeCompressThread(const QString& fileName, const TSWFHeader& header)
    : FFileName(fileName), FHeader(header)
{
}

void TDeCompressThread::Execute()
{
    FResult = DecompressSWF(QFile::encodeName(FFileName).toStdString(), FHeader);
}
