#pragma once
// The "*.vlbdoc" package: "fileInfo.plist" (version), "table.plist" (column and row
// settings), "tableString.txt" (the table), and the folders "graphXML", "graph", "graphPDF"
// and "stats" with one entry per analysis, numbered from 0.
#include "app/AppDelegate.h"
#include <QString>
#include <QVariantMap>
#include <QVector>
#include <optional>

class Document;

class DocumentPackage {
public:
    // Writes every entry into dirPath (an existing, empty directory). False and *error when
    // the per-analysis lists are out of step, a value is not a property-list value, or a file
    // cannot be written.
    static bool write(const Document& doc, const QString& dirPath, QString* error);

    struct Table {
        QString version;
        TableData table;
        QVector<QVariantMap> columnSettings;   // one per table column
        QVariantMap rowSettings;
    };
    // The version, the table and its settings; nullopt and *error when the package is refused.
    static std::optional<Table> readTable(const QString& dirPath, const AppDelegate& delegate, QString* error);

    struct Analysis {
        qint64 index = 0;
        std::optional<QString> xml;            // absent when missing or no text (textFromBytes)
        std::optional<QVariantMap> settings;   // absent when missing or unreadable
        std::optional<QVariantMap> stats;      // absent when missing or unreadable
    };
    // Every analysis the package names by a "graphXML" or a "graph" entry, in increasing
    // index order, with what could be read of it.
    static QVector<Analysis> readAnalyses(const QString& dirPath);

    // The text of a package file: UTF-8 without a null character (which no property list
    // can hold, so nothing made from such a text could be saved); nullopt otherwise.
    static std::optional<QString> textFromBytes(const QByteArray& bytes);

    // Entry names of analysis i.
    static QString xmlName(qsizetype i) { return QStringLiteral("graph%1.xml").arg(i); }
    static QString settingsName(qsizetype i) { return QStringLiteral("graph%1.plist").arg(i); }
    static QString pdfName(qsizetype i) { return QStringLiteral("graph%1.pdf").arg(i); }
    static QString statsName(qsizetype i) { return QStringLiteral("stats%1.plist").arg(i); }
};
