// The picture area: a bitmap or a recorded picture shown unscaled from the
// top-left corner.
#include <QPaintEvent>
#include <QPainter>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/QtControls.h"

namespace tk {

struct TImage::Impl {
  std::unique_ptr<TBitmap> bitmap;
  std::shared_ptr<TMetafile> metafile;
  QWidget* widget = nullptr;
  bool updatePending = false;

  // Many small drawing calls (a map is tens of thousands of pixels) ask for
  // one repaint.
  void ScheduleUpdate() {
    if (updatePending || widget == nullptr) return;
    updatePending = true;
    widget->update();
  }
  void Paint(QPainter& p) const {
    if (bitmap) p.drawImage(0, 0, BitmapImage(*bitmap));
    else if (metafile) PlayMetafile(*metafile, p);
  }
  void Watch(TBitmap* b) {
    if (b != nullptr) b->impl()->onChange = [this] { ScheduleUpdate(); };
  }
};

namespace {

class ImageWidget : public MouseForwarding<QWidget> {
 public:
  ImageWidget(TControl* c, TImage::Impl* impl) : MouseForwarding<QWidget>(c), impl_(impl) {}
  void detach() {
    impl_ = nullptr;
    MouseForwarding<QWidget>::detach();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (impl_ == nullptr) return;
    impl_->updatePending = false;
    QPainter p(this);
    impl_->Paint(p);
  }

 private:
  TImage::Impl* impl_;
};

}  // namespace

TImage::TImage(TWinControl* parent) : TControl(parent), impl_(std::make_unique<Impl>()) {
  auto* w = new ImageWidget(this, impl_.get());
  impl_->widget = w;
  AttachWidget(w);
  w->resize(105, 105);
}

TImage::~TImage() {
  static_cast<ImageWidget*>(Widget())->detach();
  if (impl_->bitmap) impl_->bitmap->impl()->onChange = nullptr;
}

TCanvas& TImage::Canvas() {
  if (!impl_->bitmap) {
    impl_->bitmap = std::make_unique<TBitmap>(Width(), Height());
    impl_->metafile.reset();
    impl_->Watch(impl_->bitmap.get());
    impl_->ScheduleUpdate();
  }
  return impl_->bitmap->Canvas();
}

TBitmap* TImage::Bitmap() const { return impl_->bitmap.get(); }

void TImage::SetMetafile(std::shared_ptr<TMetafile> metafile) {
  if (impl_->bitmap) impl_->bitmap->impl()->onChange = nullptr;
  impl_->bitmap.reset();
  impl_->metafile = std::move(metafile);
  if (impl_->metafile) {
    auto& viewers = impl_->metafile->impl()->viewers;
    bool known = false;
    for (const QPointer<QWidget>& v : viewers) known = known || v == Widget();
    if (!known) viewers.emplace_back(Widget());
  }
  impl_->ScheduleUpdate();
}

TMetafile* TImage::Metafile() const { return impl_->metafile.get(); }

std::unique_ptr<TBitmap> TImage::Render() const {
  auto bmp = std::make_unique<TBitmap>(Width(), Height());
  QImage& img = BitmapImage(*bmp);
  if (img.isNull()) return bmp;
  // Where the picture does not reach, the parent's background shows.
  img.fill(ToQColor(Parent() != nullptr ? Parent()->Color() : clBtnFace));
  QPainter p(&img);
  impl_->Paint(p);
  return bmp;
}

void TImage::SetPicture(std::unique_ptr<TBitmap> bitmap) {
  if (impl_->bitmap) impl_->bitmap->impl()->onChange = nullptr;
  impl_->metafile.reset();
  impl_->bitmap = std::move(bitmap);
  impl_->Watch(impl_->bitmap.get());
  impl_->ScheduleUpdate();
}

void TImage::Changed() { impl_->ScheduleUpdate(); }

}  // namespace tk
