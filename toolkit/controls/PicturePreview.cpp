#include "toolkit/controls/PicturePreview.h"

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
#include <QFileSystemModel>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "toolkit/core/FpCheck.h"
#include "toolkit/emf/EmfReader.h"
#include "toolkit/files/WholeFile.h"
#include "toolkit/pictures/Jpeg.h"
#include "toolkit/pictures/QtGraphics.h"

namespace tk {

namespace {

// What a preview reads and decodes at most: a picture of this size takes a
// fraction of a second, and more would keep the user waiting for the list.
constexpr size_t kMaxFileBytes = size_t(32) << 20;
constexpr int64_t kMaxPixels = 24000000;
// The JPEG library's own memory at most: the coefficients of a progressive
// picture of that size in colour (as much as Qt's reader may take for a bitmap).
constexpr long kMaxDecoderBytes = long(96) << 20;
constexpr int kArea = 220;  // the picture area of the pane, pixels square

const char* const kNoPreview = "Brak podglądu tego rysunku";
const char* const kNotAFile = "To nie jest zwykły plik";
const char* const kUnreadable = "Nie można odczytać pliku";
const char* const kTooLarge = "Rysunek jest za duży na podgląd";
const char* const kDamaged = "Uszkodzony plik rysunku";

enum class Kind { Jpeg, Bmp, Ico, Emf, Other };

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + size_t(i)];
  return v;
}

// The decoder is chosen by what the file holds, whatever its name says: the
// programs write JPEG under any name the user gives.
Kind KindOf(const std::vector<uint8_t>& b) {
  if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return Kind::Jpeg;
  if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return Kind::Bmp;
  if (b.size() >= 6 && Le(b, 0, 2) == 0 && Le(b, 2, 2) == 1) return Kind::Ico;
  if (b.size() >= 44 && Le(b, 0, 4) == 1 && Le(b, 40, 4) == 0x464D4520u) return Kind::Emf;  // " EMF"
  return Kind::Other;
}

// Whether the name is one of the listed picture types: such a file that
// holds none of them is damaged; any other is not a picture we show.
bool PictureName(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string ext = fileName.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == "jpg" || ext == "jpeg" || ext == "bmp" || ext == "ico" || ext == "emf";
}

// The kernel's own file systems show regular files whose reading waits for
// events or changes the system's state: never read for a picture.
bool OnKernelFileSystem(const std::string& fileName) {
  struct statfs fs;
  return statfs(fileName.c_str(), &fs) == 0 && tk::KernelFileSystem(static_cast<long>(fs.f_type));
}

// A regular file open for reading, or the reason why not.  The kind of file
// is known before it is opened (opening a device can already act on it), and
// checked again on the open file; nothing read from it ever waits.
class RegularFile {
 public:
  explicit RegularFile(const std::string& fileName) {
    struct stat before;
    if (stat(fileName.c_str(), &before) != 0) reason = kUnreadable;
    else if (!S_ISREG(before.st_mode) || OnKernelFileSystem(fileName)) reason = kNotAFile;
    else if (before.st_size > off_t(kMaxFileBytes)) reason = kTooLarge;
    if (reason != nullptr) return;
    fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat after;
    if (fd < 0) reason = kUnreadable;
    else if (fstat(fd, &after) != 0 || !S_ISREG(after.st_mode) || after.st_dev != before.st_dev ||
             after.st_ino != before.st_ino)
      reason = kNotAFile;  // replaced between the look and the open
    else if (after.st_size > off_t(kMaxFileBytes)) reason = kTooLarge;
    else size = size_t(after.st_size);
  }
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;
  ~RegularFile() {
    if (fd >= 0) close(fd);
  }

  // The whole file.  Its size may have changed since it was opened: it is
  // read to the limit and one byte more.
  const char* ReadAll(std::vector<uint8_t>& out) const {
    out.assign(std::min(size + 1, kMaxFileBytes + 1), 0);
    return Read(out, true);
  }
  // Its first bytes (fewer when it is shorter).
  void ReadFirst(std::vector<uint8_t>& out, size_t count) const {
    out.assign(std::min(count, size), 0);
    Read(out, false);
  }

  int fd = -1;
  size_t size = 0;
  const char* reason = nullptr;

 private:
  const char* Read(std::vector<uint8_t>& out, bool grow) const {
    size_t got = 0;
    for (;;) {
      if (got == out.size()) {
        if (!grow) break;
        if (got > kMaxFileBytes) return kTooLarge;
        out.resize(std::min(out.size() * 2, kMaxFileBytes + 1));
      }
      const ssize_t n = pread(fd, out.data() + got, out.size() - got, off_t(got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return kUnreadable;
      if (n == 0) break;
      got += size_t(n);
    }
    out.resize(got);
    return nullptr;
  }
};

// The file's bytes as Qt's reader reads them, noting whether it asked for
// bytes past the end: it leaves what it could not read as the memory held it.
class FileBytes : public QIODevice {
 public:
  explicit FileBytes(const std::vector<uint8_t>& bytes) : bytes_(bytes) { open(ReadOnly | Unbuffered); }
  bool isSequential() const override { return false; }
  qint64 size() const override { return qint64(bytes_.size()); }
  bool shortRead = false;

 protected:
  qint64 readData(char* data, qint64 max) override {
    const qint64 at = pos(), n = std::clamp<qint64>(qint64(bytes_.size()) - at, 0, max);
    if (n < max) shortRead = true;
    if (n > 0) std::memcpy(data, bytes_.data() + at, size_t(n));
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  const std::vector<uint8_t>& bytes_;
};

// Qt's reader on the largest of the file's pictures (an icon holds several).
void ChooseLargest(QImageReader& reader) {
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
}

// A large picture reduced by picking pixels to at most four times the
// pane, so that what follows costs what the pane costs, not the file.
QSize PickedSize(QSize size, int width, int height) {
  if (size.width() <= 4 * width && size.height() <= 4 * height) return size;
  return size.scaled(4 * width, 4 * height, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage Picked(const QImage& image, int width, int height) {
  const QSize to = PickedSize(image.size(), width, height);
  return to == image.size() ? image : image.scaled(to, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// A picture through Qt's reader, picked down for a pane of width x height;
// null with the reason when it cannot be shown.  The size checked is the
// size the reader itself reads and decodes (`size`): no reading of the
// header of our own.
QImage ReadWithQt(const std::vector<uint8_t>& bytes, const char* format, int width, int height, QSize& size,
                  const char*& reason) {
  FileBytes file(bytes);
  QImageReader reader(&file, format);
  ChooseLargest(reader);
  size = reader.size();
  if (size.isValid() && int64_t(size.width()) * size.height() > kMaxPixels) {
    reason = kTooLarge;
    return QImage();
  }
  // Run-length bitmaps may end before the last row or skip pixels, and the
  // reader leaves those as it found them.  So a bitmap of colour indices is
  // read twice, into a picture filled with one index and into one filled
  // with another: where they differ the file defines nothing, shown white.
  // Other pictures are read whole or refused.
  QImage image, other;
  if (std::strcmp(format, "bmp") == 0 && reader.imageFormat() == QImage::Format_Indexed8 && size.isValid()) {
    FileBytes again(bytes);
    QImageReader second(&again, format);
    ChooseLargest(second);
    image = QImage(size, QImage::Format_Indexed8);
    other = QImage(size, QImage::Format_Indexed8);
    if (image.isNull() || other.isNull()) {
      reason = kTooLarge;
      return QImage();
    }
    image.fill(0);
    other.fill(0xFF);
    const uchar* was = other.constBits();
    // A reader that would not read into the picture given cannot be trusted
    // with the pixels it skips.
    if (!second.read(&other) || again.shortRead || other.constBits() != was) {
      reason = kDamaged;
      return QImage();
    }
  }
  const uchar* was = image.isNull() ? nullptr : image.constBits();
  file.shortRead = false;
  if (!reader.read(&image) || file.shortRead || (was != nullptr && image.constBits() != was)) {
    reason = kDamaged;
    return QImage();
  }
  size = image.size();
  if (other.isNull()) return Picked(image, width, height);
  // Picked down alike, the same pixels of each; the colour of an index the
  // palette lacks is black.
  const QSize to = PickedSize(size, width, height);
  QImage shown(to, QImage::Format_RGB32);
  const QList<QRgb> colours = image.colorTable();
  for (int y = 0; y < to.height(); ++y) {
    const int v = int(int64_t(y) * size.height() / to.height());
    const uchar *a = image.constScanLine(v), *b = other.constScanLine(v);
    auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
    for (int x = 0; x < to.width(); ++x) {
      const int u = int(int64_t(x) * size.width() / to.width());
      line[x] = a[u] != b[u]            ? qRgb(255, 255, 255)
                : a[u] < colours.size() ? colours[a[u]] | 0xFF000000u
                                        : qRgb(0, 0, 0);
    }
  }
  return shown;
}

// Reduced to fit when larger, over white (icons are transparent).
std::unique_ptr<TBitmap> Fitted(const QImage& image, int width, int height) {
  QImage shown = Picked(image, width, height);
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
  const RegularFile file(fileName);
  if (file.reason != nullptr) {
    result.text = file.reason;
    return result;
  }
  // A metafile is walked straight from the file, a window at a time: its
  // preview costs neither its size in memory nor the time to fill that.
  std::vector<uint8_t> bytes;
  file.ReadFirst(bytes, 44);
  Kind kind = KindOf(bytes);
  if (kind != Kind::Emf) {
    if (const char* reason = file.ReadAll(bytes)) {
      result.text = reason;
      return result;
    }
    kind = KindOf(bytes);
  }
  if (kind == Kind::Other) {
    result.text = PictureName(fileName) ? kDamaged : kNoPreview;
    return result;
  }
  FpShield shield;
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (kind == Kind::Emf) {
    emf::EmfVerdict verdict;
    emf::EmfFrame frame;
    const emf::EmfBytes walked(file.fd, file.size);
    result.picture = emf::DrawEmf(walked, width, height, &verdict, &frame);
    switch (verdict) {
      case emf::EmfVerdict::Picture: result.text = SizeText(std::lround(frame.width), std::lround(frame.height)); break;
      case emf::EmfVerdict::NotOurs: result.text = kNoPreview; break;
      case emf::EmfVerdict::TooLarge: result.text = kTooLarge; break;
      case emf::EmfVerdict::Damaged: result.text = kDamaged; break;
    }
    return result;
  }
  if (kind == Kind::Jpeg) {
    JpegPreview jpeg = DecodeJpegPreview(bytes.data(), bytes.size(), width, height, kMaxPixels, kMaxDecoderBytes);
    result.decodedPixels = jpeg.decodedPixels;
    switch (jpeg.verdict) {
      case JpegPreview::Picture:
        result.text = SizeText(jpeg.width, jpeg.height);
        result.picture = Fitted(BitmapImage(*jpeg.picture), width, height);
        break;
      case JpegPreview::TooLarge: result.text = kTooLarge; break;
      case JpegPreview::NotShown: result.text = kNoPreview; break;
      case JpegPreview::Damaged: result.text = kDamaged; break;
    }
    return result;
  }
  const char* reason = nullptr;
  QSize size;
  const QImage image = ReadWithQt(bytes, kind == Kind::Bmp ? "bmp" : "ico", width, height, size, reason);
  if (reason != nullptr) {
    result.text = reason;
    return result;
  }
  result.decodedPixels = int64_t(size.width()) * size.height();
  result.text = SizeText(size.width(), size.height());
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

namespace {

// A file's size as the size column shows it: in the locale's units, and
// below a kibibyte with the noun in the number's grammatical form where the
// locale's own text has one form for every count.
QString SizeColumnText(qint64 bytes, const QLocale& locale) {
  if (bytes < 0 || bytes >= 1024 || locale.language() != QLocale::Polish) return locale.formattedDataSize(bytes);
  return ToQString(ByteCountText(bytes));
}

class SizeColumn : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* model = qobject_cast<const QFileSystemModel*>(index.model());
    if (model != nullptr && !model->isDir(index)) option->text = SizeColumnText(model->size(index), QLocale::system());
  }
};

}  // namespace

std::string ByteCountText(int64_t bytes) {
  const int64_t ones = bytes % 10, tens = bytes % 100;
  const char* noun = bytes == 1 ? "bajt" : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? "bajty" : "bajtów";
  return std::to_string(bytes) + " " + noun;
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
  // Sizes: the widest number of each unit (1000 and 1023 bytes, 1024,00 KiB...).
  tree->setItemDelegateForColumn(1, new SizeColumn(tree));
  QStringList sizes{SizeColumnText(1000, locale)};
  for (int unit = 1; unit <= 6; ++unit) sizes << SizeColumnText((qint64(1) << (10 * unit)) - 1, locale);
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
