#include "app/StartPicture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <QFile>

namespace quorvanta {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void failDecoding(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// libjpeg reports errors by longjmp; this frame holds no C++ object of its
// own, so the jump skips no destructor.
bool readJpeg(jpeg_decompress_struct& info, ErrorManager& errors, const QByteArray& data,
              QImage& image) {
  if (setjmp(errors.jump)) return false;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = failDecoding;
  errors.base.output_message = [](j_common_ptr) {};
  jpeg_create_decompress(&info);
  QImage image;
  const bool read = readJpeg(info, errors, data, image);
  jpeg_destroy_decompress(&info);
  return read ? image : QImage();
}

QImage startPicture() {
  QFile file(":/start.jpg");
  if (!file.open(QIODevice::ReadOnly)) return {};
  return decodeJpeg(file.readAll());
}

}  // namespace quorvanta
