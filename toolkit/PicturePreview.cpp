#include "toolkit/PicturePreview.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <QAbstractFileIconProvider>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "toolkit/Jpeg.h"
#include "toolkit/QtGraphics.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/emf/EmfReader.h"
#include "toolkit/files/WholeFile.h"

namespace tk {

namespace {

// What a preview reads and decodes at most: a picture of this size takes a
// fraction of a second, and more would keep the user waiting for the list.
constexpr size_t kMaxFileBytes = size_t(32) << 20;
constexpr int64_t kMaxPixels = 24000000;
constexpr int kArea = 220;  // the picture area of the pane, pixels square

const char* const kNoPreview = "Brak podglądu tego rysunku";
const char* const kNotAFile = "To nie jest zwykły plik";
const char* const kUnreadable = "Nie można odczytać pliku";
const char* const kTooLarge = "Rysunek jest za duży na podgląd";
const char* const kDamaged = "Uszkodzony plik rysunku";

enum class Kind { Jpeg, Bmp, Ico, Emf, Other };

Kind KindOf(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return Kind::Other;
  std::string ext = fileName.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (ext == "jpg" || ext == "jpeg") return Kind::Jpeg;
  if (ext == "bmp") return Kind::Bmp;
  if (ext == "ico") return Kind::Ico;
  if (ext == "emf") return Kind::Emf;
  return Kind::Other;  // metafiles of the older kind among them
}

// The kernel's own file systems show regular files whose reading waits for
// events or changes the system's state: never read for a picture.
bool OnKernelFileSystem(const std::string& fileName) {
  struct statfs fs;
  return statfs(fileName.c_str(), &fs) == 0 && tk::KernelFileSystem(static_cast<long>(fs.f_type));
}

// The whole of a regular file, or the reason why not.  The kind of file is
// known before it is opened (opening a device can already act on it), and
// checked again on the open file; the read never waits.
const char* ReadRegularFile(const std::string& fileName, std::vector<uint8_t>& out) {
  struct stat before;
  if (stat(fileName.c_str(), &before) != 0) return kUnreadable;
  if (!S_ISREG(before.st_mode) || OnKernelFileSystem(fileName)) return kNotAFile;
  if (before.st_size > off_t(kMaxFileBytes)) return kTooLarge;
  const int fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return kUnreadable;
  struct stat after;
  const char* reason = nullptr;
  if (fstat(fd, &after) != 0 || !S_ISREG(after.st_mode) || after.st_dev != before.st_dev ||
      after.st_ino != before.st_ino)
    reason = kNotAFile;  // replaced between the look and the open
  // The size may have changed since: read to the limit and one byte more.
  out.assign(reason == nullptr ? std::min(size_t(after.st_size) + 1, kMaxFileBytes + 1) : 0, 0);
  size_t got = 0;
  while (reason == nullptr) {
    if (got == out.size()) {
      if (got > kMaxFileBytes) {
        reason = kTooLarge;
        break;
      }
      out.resize(std::min(out.size() * 2, kMaxFileBytes + 1));
    }
    const ssize_t n = read(fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) reason = kUnreadable;
    if (n <= 0) break;
    got += size_t(n);
  }
  close(fd);
  out.resize(got);
  return reason;
}

// The picture size from the frame header, found as the JPEG library finds it:
// the segments from the start of the image up to the first frame header.
bool JpegSize(const std::vector<uint8_t>& b, int64_t& width, int64_t& height) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  size_t i = 2;
  while (i < b.size()) {
    while (i < b.size() && b[i] != 0xFF) ++i;  // stray bytes before a marker
    while (i < b.size() && b[i] == 0xFF) ++i;  // fill bytes
    if (i >= b.size()) return false;
    const uint8_t m = b[i++];
    if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // markers without a segment
    if (m == 0xD9 || m == 0xDA || i + 2 > b.size()) return false;      // no frame before the scan
    const size_t length = size_t(b[i]) << 8 | b[i + 1];
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      if (i + 7 > b.size()) return false;
      height = int64_t(b[i + 3]) << 8 | b[i + 4];
      width = int64_t(b[i + 5]) << 8 | b[i + 6];
      return true;
    }
    if (length < 2) return false;
    i += length;
  }
  return false;
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
  return v;
}

// Whether the rows a bitmap header at `at` promises lie before `end`: Qt's
// reader leaves the rows it could not read as the memory held them.
bool DibComplete(const std::vector<uint8_t>& b, size_t at, size_t pixels, size_t end, bool icon) {
  if (at + 16 > end) return false;
  const uint32_t header = Le(b, at, 4);
  int64_t w, h, bits, compression = 0, colours = 0, stored = 0;
  if (header == 12) {
    w = Le(b, at + 4, 2);
    h = int16_t(Le(b, at + 6, 2));
    bits = Le(b, at + 10, 2);
  } else {
    if (header < 40 || at + 40 > end) return false;
    w = int32_t(Le(b, at + 4, 4));
    h = int32_t(Le(b, at + 8, 4));
    bits = Le(b, at + 14, 2);
    compression = Le(b, at + 16, 4);
    stored = Le(b, at + 20, 4);
    colours = Le(b, at + 32, 4);
  }
  if (w <= 0 || h == 0 || h == INT32_MIN || bits == 0 || bits > 32) return false;
  h = h < 0 ? -h : h;
  if (icon) h /= 2;  // colour rows, then the one-bit mask, in twice the height
  // Too many pixels to show: Qt's reader says so from the size; the row
  // arithmetic below stays within 64 bits.
  if (w * h > kMaxPixels) return true;
  if (icon) {
    if (bits <= 8) pixels = at + header + 4 * size_t(colours != 0 ? colours : int64_t(1) << bits);
    const int64_t mask = (w + 31) / 32 * 4 * h;
    return int64_t(pixels) + (w * bits + 31) / 32 * 4 * h + mask <= int64_t(end);
  }
  if (compression == 1 || compression == 2) return int64_t(pixels) + stored <= int64_t(end);  // run lengths
  if (compression == 0 || compression == 3 || compression == 6)
    return int64_t(pixels) + (w * bits + 31) / 32 * 4 * h <= int64_t(end);
  return true;  // other codings: Qt's reader refuses what it cannot read whole
}

bool BmpComplete(const std::vector<uint8_t>& b) {
  return b.size() >= 26 && b[0] == 'B' && b[1] == 'M' && DibComplete(b, 14, Le(b, 10, 4), b.size(), false);
}

// Every picture of an icon lies inside the file, and each bitmap holds its rows.
bool IcoComplete(const std::vector<uint8_t>& b) {
  if (b.size() < 6 || Le(b, 0, 2) != 0 || Le(b, 2, 2) != 1) return false;
  const size_t count = Le(b, 4, 2);
  if (count == 0 || 6 + 16 * count > b.size()) return false;
  for (size_t i = 0; i < count; ++i) {
    const size_t bytes = Le(b, 6 + 16 * i + 8, 4), at = Le(b, 6 + 16 * i + 12, 4);
    if (at > b.size() || bytes > b.size() - at || bytes < 8) return false;
    const bool png = Le(b, at, 4) == 0x474E5089u;  // PNG pictures are checked by their own reader
    if (!png && !DibComplete(b, at, at + Le(b, at, 4), at + bytes, true)) return false;
  }
  return true;
}

// A picture through Qt's reader, the largest of an icon's pictures; null
// with the reason when it cannot be shown.
QImage ReadWithQt(const std::vector<uint8_t>& bytes, const char* format, const char*& reason) {
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAllocationLimit(int(kMaxPixels * 4 >> 20) + 1);  // megabytes: a bound the header cannot talk past
  int best = 0;
  int64_t bestArea = -1;
  for (int i = 0; i < std::min(reader.imageCount(), 64); ++i) {
    if (!reader.jumpToImage(i)) break;
    const QSize s = reader.size();
    if (int64_t(s.width()) * s.height() > bestArea) {
      best = i;
      bestArea = int64_t(s.width()) * s.height();
    }
  }
  if (reader.imageCount() > 0) reader.jumpToImage(best);
  const QSize s = reader.size();
  if (s.isValid() && int64_t(s.width()) * s.height() > kMaxPixels) {
    reason = kTooLarge;
    return QImage();
  }
  QImage image = reader.read();
  if (image.isNull()) reason = kDamaged;
  return image;
}

// Reduced to fit when larger, over white (icons are transparent).
std::unique_ptr<TBitmap> Fitted(const QImage& image, int width, int height) {
  QImage shown = image;
  if (shown.width() > width || shown.height() > height)
    shown = shown.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QImage out(shown.size(), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  p.drawImage(0, 0, shown);
  p.end();
  return BitmapFromImage(out);
}

std::string SizeText(int64_t width, int64_t height) { return std::to_string(width) + " × " + std::to_string(height); }

}  // namespace

PicturePreview LoadPicturePreview(const std::string& fileName, int width, int height) {
  PicturePreview result;
  const Kind kind = KindOf(fileName);
  if (kind == Kind::Other) {
    result.text = kNoPreview;
    return result;
  }
  std::vector<uint8_t> bytes;
  if (const char* reason = ReadRegularFile(fileName, bytes)) {
    result.text = reason;
    return result;
  }
  FpShield shield;
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (kind == Kind::Emf) {
    emf::EmfVerdict verdict;
    result.picture = emf::DrawEmf(bytes.data(), bytes.size(), width, height, &verdict);
    emf::EmfFrame frame;
    switch (verdict) {
      case emf::EmfVerdict::Picture:
        emf::ReadEmf(bytes.data(), bytes.size(), nullptr, &frame);
        result.text = SizeText(std::lround(frame.width), std::lround(frame.height));
        break;
      case emf::EmfVerdict::NotOurs: result.text = kNoPreview; break;
      case emf::EmfVerdict::TooLarge: result.text = kTooLarge; break;
      case emf::EmfVerdict::Damaged: result.text = kDamaged; break;
    }
    return result;
  }
  QImage image;
  const char* reason = nullptr;
  if (kind == Kind::Jpeg) {
    int64_t w = 0, h = 0;
    if (!JpegSize(bytes, w, h)) {
      reason = kDamaged;
    } else if (w * h > kMaxPixels) {
      reason = kTooLarge;
    } else {
      try {
        image = BitmapImage(*DecodeJpeg(bytes.data(), bytes.size()));
      } catch (const std::exception&) {  // the library's errors and a failed allocation
        reason = kDamaged;
      }
    }
  } else if (kind == Kind::Bmp ? BmpComplete(bytes) : IcoComplete(bytes)) {
    image = ReadWithQt(bytes, kind == Kind::Bmp ? "bmp" : "ico", reason);
  } else {
    reason = kDamaged;
  }
  if (reason != nullptr) {
    result.text = reason;
    return result;
  }
  result.text = SizeText(image.width(), image.height());
  result.picture = Fitted(image, width, height);
  return result;
}

namespace {

// The picture, centred on white inside a thin frame.
class PictureArea : public QWidget {
 public:
  explicit PictureArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picturePreviewArea"));
    setFixedSize(kArea, kArea);
  }
  void SetPicture(const QImage& image) {
    image_ = image;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!image_.isNull()) p.drawImage((width() - image_.width()) / 2, (height() - image_.height()) / 2, image_);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QImage image_;
};

class PreviewPane : public QFrame {
 public:
  explicit PreviewPane(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("picturePreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 0, 0);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("picturePreviewText"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setWordWrap(true);
    text_->setFixedWidth(kArea);
    text_->setMinimumHeight(2 * text_->fontMetrics().height());
    area_ = new PictureArea(this);
    layout->addWidget(text_);
    layout->addWidget(area_);
    layout->addStretch(1);
  }

  // An empty path or a folder clears the pane.
  void ShowFile(const QString& path) {
    FpShield shield;
    PicturePreview shown;
    try {
      if (!path.isEmpty() && !QFileInfo(path).isDir())
        shown = LoadPicturePreview(FromQString(path), kArea - 2, kArea - 2);
    } catch (...) {  // a signal of Qt's must not raise
      shown = PicturePreview{nullptr, kDamaged};
    }
    text_->setText(ToQString(shown.text));
    area_->SetPicture(shown.picture ? BitmapImage(*shown.picture) : QImage());
  }

 private:
  QLabel* text_;
  PictureArea* area_;
};

}  // namespace

void AddPicturePreview(QFileDialog& dialog) {
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  if (grid == nullptr) return;
  auto* pane = new PreviewPane(&dialog);
  // Beside the row of the folder list and the file list.
  grid->addWidget(pane, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
  QObject::connect(&dialog, &QFileDialog::currentChanged, pane, &PreviewPane::ShowFile);
  QObject::connect(&dialog, &QFileDialog::directoryEntered, pane, [pane] { pane->ShowFile(QString()); });
  // The file the dialog opens with (a save dialog again on the file just
  // saved), once the dialog runs.
  QTimer::singleShot(0, pane, [pane, &dialog] {
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty() && QFileInfo(chosen.first()).isFile()) pane->ShowFile(chosen.first());
  });
  QSize size = dialog.sizeHint().expandedTo(QSize(900, 460));
  if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size());
  dialog.resize(size);
}

void FitFileDialogColumns(QFileDialog& dialog) {
  auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (tree == nullptr || tree->model() == nullptr) return;
  QHeaderView* header = tree->header();
  const QFontMetrics fm(tree->font());
  const QLocale locale = QLocale::system();
  // The cell's margins and a little air, and the header's sort arrow.
  const int pad =
      2 * fm.averageCharWidth() + 2 * tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree);
  const int arrow = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header) +
                    2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  auto fit = [&](int column, const QStringList& texts) {
    int w = 0;
    for (const QString& t : texts) w = std::max(w, fm.horizontalAdvance(t));
    const QString label = tree->model()->headerData(column, Qt::Horizontal).toString();
    header->resizeSection(column, std::max(w + pad, header->fontMetrics().horizontalAdvance(label) + pad + arrow));
  };
  // Sizes: the widest number of each unit (1023 bytes, 1024,00 KiB...).
  QStringList sizes;
  for (int unit = 1; unit <= 6; ++unit) sizes << locale.formattedDataSize((qint64(1) << (10 * unit)) - 1);
  // Types: as the icon provider names a folder and each listed extension.
  QStringList types;
  if (const QAbstractFileIconProvider* icons = dialog.iconProvider()) {
    types << icons->type(QFileInfo(QDir::rootPath()));
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    for (const QString& filter : dialog.nameFilters())
      for (auto it = pattern.globalMatch(filter); it.hasNext();)
        types << icons->type(QFileInfo("a." + it.next().captured(1)));
  }
  // Dates: two-digit days, months and hours.
  const QStringList dates{locale.toString(QDateTime(QDate(2028, 12, 28), QTime(20, 58)), QLocale::ShortFormat)};
  fit(1, sizes);
  fit(2, types);
  fit(3, dates);
  header->setSectionResizeMode(0, QHeaderView::Stretch);  // the names take the rest of the list's width
}

}  // namespace tk
