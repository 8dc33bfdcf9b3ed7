#include "RawJpeg.h"

#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers
#include <cstdlib>

#include <jpeglib.h>

namespace quendral::bench {

QByteArray encodeWithLibjpeg(const QImage& image)
{
    const bool bgrx = image.format() == QImage::Format_RGB32;
    if (!bgrx && image.format() != QImage::Format_RGB888)
        return {};
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = bgrx ? 4 : 3;
    cinfo.in_color_space = bgrx ? JCS_EXT_BGRX : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray stream(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return stream;
}

}  // namespace quendral::bench
