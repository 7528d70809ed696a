#include "ZipInflate.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

namespace granwise::sheets {

ZipInflate::ZipInflate() : m_state(std::make_unique<inflate_state>())
{
    isal_inflate_init(m_state.get());
    m_state->crc_flag = ISAL_DEFLATE; // raw deflate: the zip entry keeps its CRC elsewhere
}

ZipInflate::~ZipInflate() = default;

void ZipInflate::give(const char *bytes, qint64 size)
{
    m_state->next_in = reinterpret_cast<uint8_t *>(const_cast<char *>(bytes));
    m_state->avail_in = uint32_t(size);
}

qint64 ZipInflate::pendingInput() const
{
    return qint64(m_state->avail_in);
}

qint64 ZipInflate::unpack(char *out, qint64 size)
{
    if (finished())
        return 0;
    m_state->next_out = reinterpret_cast<uint8_t *>(out);
    m_state->avail_out = uint32_t(size);
    if (isal_inflate(m_state.get()) != ISAL_DECOMP_OK)
        throw Damaged{};
    const qint64 written = size - qint64(m_state->avail_out);
    m_crc = crc32_gzip_refl(m_crc, reinterpret_cast<const unsigned char *>(out), uint64_t(written));
    return written;
}

bool ZipInflate::finished() const
{
    return m_state->block_state == ISAL_BLOCK_FINISH;
}

} // namespace granwise::sheets
