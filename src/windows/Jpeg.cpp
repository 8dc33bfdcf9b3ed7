#include "Jpeg.h"

#include <QSysInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers
#include <cstdlib>

#include <jpeglib.h>

namespace quendral {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return; the default
// one prints the message and calls exit(). Ours jumps back to the setjmp of the function
// that drives libjpeg, which then cleans up and reports failure to its caller.
//
// Every function below that calls setjmp keeps all state that libjpeg changes in a struct
// owned by its caller and creates no objects with destructors that could be alive when
// the jump happens, so the jump neither skips a destructor nor leaves a clobbered local.
struct ErrorManager {
    jpeg_error_mgr base;  // first member: libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Level -1 is a warning: libjpeg carries on with a stream other than the one asked for,
// so a warning fails the call like an error. Trace messages (level 0 and above) are
// dropped.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        jumpBack(cinfo);
}

void discardMessage(j_common_ptr) { }

void installErrorManager(ErrorManager& manager, jpeg_error_mgr*& slot)
{
    slot = jpeg_std_error(&manager.base);
    manager.base.error_exit = jumpBack;
    manager.base.emit_message = onMessage;
    manager.base.output_message = discardMessage;
}

struct Compression {
    jpeg_compress_struct cinfo{};
    ErrorManager error{};
    // The buffer given to jpeg_mem_dest. libjpeg writes into it and, should it fill up,
    // moves on to a larger buffer of its own, which it reports back through these two.
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// The pixel layout libjpeg is to read from the rows of `image`.
struct InputLayout {
    J_COLOR_SPACE space;
    int components;
};

bool compress(Compression& c, const QImage& rgb, InputLayout layout, int quality)
{
    installErrorManager(c.error, c.cinfo.err);
    if (setjmp(c.error.jump)) {
        jpeg_destroy_compress(&c.cinfo);
        return false;
    }
    jpeg_create_compress(&c.cinfo);
    jpeg_mem_dest(&c.cinfo, &c.buffer, &c.size);

    c.cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    c.cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    c.cinfo.input_components = layout.components;
    c.cinfo.in_color_space = layout.space;
    jpeg_set_defaults(&c.cinfo);
    jpeg_set_quality(&c.cinfo, quality, TRUE);
    jpeg_start_compress(&c.cinfo, TRUE);

    // libjpeg reads the rows in place; only the row stride differs, hence one pointer per row.
    constexpr JDIMENSION kBatch = 16;
    JSAMPROW rows[kBatch];
    while (c.cinfo.next_scanline < c.cinfo.image_height) {
        const JDIMENSION first = c.cinfo.next_scanline;
        const JDIMENSION count = std::min(kBatch, c.cinfo.image_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(first + i)));
        jpeg_write_scanlines(&c.cinfo, rows, count);
    }
    jpeg_finish_compress(&c.cinfo);
    jpeg_destroy_compress(&c.cinfo);
    return true;
}

}  // namespace

QByteArray encodeJpeg(const QImage& image, int quality)
{
    if (image.isNull())
        return {};
    // A screen picture (32 bits per pixel, the fourth byte unused) goes to libjpeg as it is:
    // libjpeg takes the 24 colour bits of each pixel itself, which gives the same stream as
    // converting to 24-bit RGB first, without a second copy of the picture.
    const bool screenLayout
        = image.format() == QImage::Format_RGB32 && QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    const QImage rgb = screenLayout || image.format() == QImage::Format_RGB888
        ? image
        : image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {};
    const InputLayout layout
        = screenLayout ? InputLayout{JCS_EXT_BGRX, 4} : InputLayout{JCS_RGB, 3};

    // Start with a buffer of the raw picture's size, which a JPEG stream at any useful
    // quality stays well below, so libjpeg practically never has to grow it. Its pages are
    // only touched as far as the stream goes.
    constexpr qsizetype kMaxStart = qsizetype(64) << 20;
    const qsizetype start
        = std::min<qsizetype>(qsizetype(rgb.width()) * rgb.height() * 3 + 4096, kMaxStart);
    QByteArray out(start, Qt::Uninitialized);

    Compression c;
    c.buffer = reinterpret_cast<unsigned char*>(out.data());
    c.size = static_cast<unsigned long>(out.size());
    unsigned char* const ours = c.buffer;
    if (!compress(c, rgb, layout, quality))
        return {};

    if (c.buffer == ours) {
        out.truncate(static_cast<qsizetype>(c.size));
        out.squeeze();
        return out;
    }
    // libjpeg outgrew our buffer and finished in one it allocated with malloc.
    QByteArray grown(reinterpret_cast<const char*>(c.buffer), static_cast<qsizetype>(c.size));
    std::free(c.buffer);
    return grown;
}

}  // namespace quendral
