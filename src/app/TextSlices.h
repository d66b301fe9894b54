#pragma once
// Strings cut from shared blocks of text. Each is an ordinary QString whose characters lie in
// a block it shares with the strings made before and after it, so a table of millions of
// cells costs a few allocations instead of one per cell, and is freed as quickly. A string
// changed later gets its own copy first, as any shared QString does; a block is freed with
// the last string in it.
#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

class TextSlices {
public:
    // Blocks of blockChars characters (at least 64).
    explicit TextSlices(qsizetype blockChars = kBlockChars);
    ~TextSlices();
    TextSlices(const TextSlices&) = delete;
    TextSlices& operator=(const TextSlices&) = delete;

    // A string holding text; the null string for an empty text.
    QString add(QStringView text);
    // Room for a text of at most n characters written in place, then made a string of the
    // first length of them by commit.
    char16_t* room(qsizetype n);
    QString commit(qsizetype length);

    // Texts longer than this get a string of their own.
    static constexpr qsizetype kLongText = 4096;
    static constexpr qsizetype kBlockChars = qsizetype(1) << 20;

private:
    void retire();

    qsizetype m_blockChars;
    int m_reserved;                 // references a block is made with: more than it can give out
    QString::DataPointer m_block;   // the current block, held by this builder
    qsizetype m_used = 0;           // characters of it given out
    int m_made = 0;                 // strings cut from it
    QString m_long;                 // room given for a long text
};

// Builders for the cells of a table read row by row: one of its own for each of the first
// kOwnColumns columns, so that a column's cells lie together and reading a whole column (its
// numbers, say) goes through memory in order instead of jumping a row's length per cell; the
// columns after those share one builder.
class ColumnSlices {
public:
    static constexpr qsizetype kOwnColumns = 64;
    TextSlices& of(qsizetype column);

private:
    std::vector<std::unique_ptr<TextSlices>> m_builders;
};
