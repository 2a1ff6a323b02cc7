#include "database/Definitions.h"

QStringList ThumbDatabaseDefinition()
{
    return {
        // IMAGE_ID is the counter the program reads back after each insert.
        QStringLiteral("CREATE TABLE IMAGE_TABLE (IMAGE_ID INTEGER PRIMARY KEY AUTOINCREMENT, IMAGE BLOB)"),
        QStringLiteral("CREATE TABLE FILE_TABLE (PATH TEXT, NAME TEXT, MODI_TIME INTEGER, IMAGE_ID INTEGER)"),
        // Pictures are read one folder at a time.
        QStringLiteral("CREATE INDEX FILE_TABLE_PATH ON FILE_TABLE (PATH)"),
    };
}

QStringList LibraryDatabaseDefinition()
{
    return {
        QStringLiteral("CREATE TABLE WEB_TABLE (URL TEXT, TITLE TEXT, DATE TEXT, FLASH_PATH TEXT)"),
        QStringLiteral("CREATE TABLE FAV_TABLE (FILE_NAME TEXT, ATT INTEGER)"),
        // No unique key on CAT_NAME: renaming a category onto an existing name is allowed.
        QStringLiteral("CREATE TABLE CAT_NAME_TABLE (CAT_NAME TEXT)"),
        QStringLiteral("CREATE TABLE CAT_TABLE (CAT_NAME TEXT, FILE_NAME TEXT)"),
        QStringLiteral("CREATE INDEX WEB_TABLE_DATE ON WEB_TABLE (DATE)"),
    };
}
