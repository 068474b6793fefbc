#pragma once
// The layout resources of a program: the stored properties of its aligned
// grids, compiled from the readable layout files of this folder.  Each program
// links only its own layouts.
#include <cstddef>
#include <cstdint>
#include <string>

namespace res {

// A compiled layout: its typed-value stream.  Each program's layouts are
// symbols of their own, declared in its generated "resources/ProgramLayouts.h".
struct Layout {
  const uint8_t* data;
  size_t size;
};

// The typed-value stream of the named layout ("Unit1.AlignedGrid2"), or false.
bool FindLayout(const std::string& name, const uint8_t*& data, size_t& size);

// The title picture (JFIF stream) of Ferrant's title window, or false.
bool FindTitlePicture(const uint8_t*& data, size_t& size);

}  // namespace res
