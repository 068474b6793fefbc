#pragma once
// A paint device whose painter writes enhanced-metafile records: lines,
// polygons and paths as polylines and polygons, text as real text records
// with their fonts, pictures as device-independent bitmaps, clipping as clip
// rectangles.  Toolkit-internal (Qt).
#include <QPaintDevice>
#include <memory>
#include <vector>

namespace tk::emf {

class EmfEngine;

class EmfDevice : public QPaintDevice {
 public:
  // The picture size in pixels at 96 pixels per inch.
  EmfDevice(int width, int height);
  ~EmfDevice() override;
  QPaintEngine* paintEngine() const override;
  // The file; call after the painter has ended.
  std::vector<uint8_t> Bytes() const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  int width_, height_;
  std::unique_ptr<EmfEngine> engine_;
};

}  // namespace tk::emf
