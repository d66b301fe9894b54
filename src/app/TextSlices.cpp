#include "app/TextSlices.h"
#include <cstring>

namespace {

// Two megabytes: a block of short cells that a few surviving strings keep alive stays small.
constexpr qsizetype kBlockChars = qsizetype(1) << 20;
// Each string takes at least two characters (one and its terminating null), so a block gives
// out fewer strings than this.
constexpr int kReserved = int(kBlockChars / 2);

} // namespace

TextSlices::~TextSlices() { retire(); }

// A block is made holding a reference for every string it could give out, so that making a
// string needs no atomic count; the references not used are given back here. Until then
// every string of the block counts as shared and is copied before it changes.
void TextSlices::retire()
{
    QString::DataPointer block = std::move(m_block);
    if (block.d_ptr())
        block.d_ptr()->ref_.fetchAndSubRelaxed(kReserved - m_made);
    m_made = 0;
    m_used = 0;
}   // block drops the builder's own reference, freeing a block whose strings are all gone

QString TextSlices::add(QStringView text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return QString();
    if (n > kLongText)
        return text.toString();
    std::memcpy(room(n), text.utf16(), size_t(n) * sizeof(char16_t));
    return commit(n);
}

char16_t* TextSlices::room(qsizetype n)
{
    if (n > kLongText) {
        m_long = QString(n, Qt::Uninitialized);
        return reinterpret_cast<char16_t*>(m_long.data());
    }
    m_long = QString();
    // One more for the terminating null every QString's text has.
    if (!m_block.d_ptr() || m_used + n + 1 > m_block.constAllocatedCapacity()) {
        retire();
        auto [header, data] = QTypedArrayData<char16_t>::allocate(kBlockChars);
        header->ref_.fetchAndAddRelaxed(kReserved);
        m_block = QString::DataPointer(header, data, 0);
    }
    return m_block.data() + m_used;
}

QString TextSlices::commit(qsizetype length)
{
    if (!m_long.isNull()) {
        m_long.truncate(length);
        return std::exchange(m_long, QString());
    }
    if (length == 0)
        return QString();
    char16_t* at = m_block.data() + m_used;
    at[length] = 0;
    m_used += length + 1;
    ++m_made;   // one of the references the block was made with
    return QString(QString::DataPointer(m_block.d_ptr(), at, length));
}
