#include "JpegHeader.h"

#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers

#include <jpeglib.h>

namespace quendral::test {

JpegHeader readJpegHeader(const QByteArray& data)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
        static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);

    JpegHeader h;
    h.width = static_cast<int>(cinfo.image_width);
    h.height = static_cast<int>(cinfo.image_height);
    h.components = cinfo.num_components;
    h.colourSpace = cinfo.jpeg_color_space;
    h.progressive = cinfo.progressive_mode != 0;
    h.jfif = cinfo.saw_JFIF_marker != 0;
    for (int i = 0; i < cinfo.num_components; ++i)
        h.sampling.emplace_back(cinfo.comp_info[i].h_samp_factor, cinfo.comp_info[i].v_samp_factor);
    for (std::size_t i = 0; i < 64; ++i) {
        if (cinfo.quant_tbl_ptrs[0])
            h.luminance[i] = cinfo.quant_tbl_ptrs[0]->quantval[i];
        if (cinfo.quant_tbl_ptrs[1])
            h.chrominance[i] = cinfo.quant_tbl_ptrs[1]->quantval[i];
    }
    jpeg_destroy_decompress(&cinfo);
    return h;
}

namespace {

// Offset of the first segment before the scan data whose marker passes `wanted`, or -1.
template <class Wanted> qsizetype findSegment(const QByteArray& data, Wanted wanted)
{
    qsizetype pos = 2;
    while (pos + 4 <= data.size() && quint8(data[pos]) == 0xFF) {
        const quint8 marker = quint8(data[pos + 1]);
        if (wanted(marker))
            return pos;
        if (marker == 0xDA)  // start of scan: entropy-coded data follows
            return -1;
        pos += 2 + (quint8(data[pos + 2]) << 8 | quint8(data[pos + 3]));
    }
    return -1;
}

}  // namespace

qsizetype findJpegSegment(const QByteArray& data, unsigned char code)
{
    return findSegment(data, [code](quint8 marker) { return marker == code; });
}

int firstFrameMarker(const QByteArray& data)
{
    // C4, C8 and CC are other segments within the range of the frame markers.
    const qsizetype at = findSegment(data,
        [](quint8 m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; });
    return at < 0 ? -1 : quint8(data[at + 1]);
}

QImage decodeJpegPicture(const QByteArray& data)
{
    QImage picture;
    if (!picture.loadFromData(data, "JPEG"))
        return {};
    return picture.convertToFormat(QImage::Format_RGB888);
}

}  // namespace quendral::test
