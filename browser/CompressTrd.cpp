#include "browser/CompressTrd.h"

#include <QFile>

TCompressThread::TCompressThread(const QString& fileName, const TSWFHeader& header)
    : FFileName(fileName), FHeader(header)
{
}

void TCompressThread::Execute()
{
    FResult = CompressSWF(QFile::encodeName(FFileName).toStdString(), FHeader);
}
