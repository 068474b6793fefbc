#include "toolkit/layout/LayoutStream.h"

#include <cstring>
#include <exception>

#include "toolkit/core/Errors.h"

namespace tk {

const char* const kInvalidPropertyValue = "Invalid property value";

void RaiseInvalidPropertyValue() { throw EReadError(kInvalidPropertyValue); }

// ---------------------------------------------------------------- TBytesStream

void TBytesStream::ReadBuffer(void* buffer, size_t count) {
  if (count > Remaining()) RaiseInvalidPropertyValue();
  if (count) std::memcpy(buffer, data_.data() + pos_, count);
  pos_ += count;
}

uint8_t TBytesStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

uint16_t TBytesStream::ReadWord() {
  uint8_t b[2];
  ReadBuffer(b, 2);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

void TBytesStream::WriteBuffer(const void* buffer, size_t count) {
  const uint8_t* p = static_cast<const uint8_t*>(buffer);
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  if (count) std::memcpy(data_.data() + pos_, p, count);
  pos_ += count;
}

void TBytesStream::WriteWord(uint16_t w) {
  uint8_t b[2] = {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8)};
  WriteBuffer(b, 2);
}

// ---------------------------------------------------------------- TReader

const uint8_t* TReader::Take(size_t count) {
  if (count > size_ - pos_) RaiseInvalidPropertyValue();
  const uint8_t* p = data_ + pos_;
  pos_ += count;
  return p;
}

uint8_t TReader::Byte() { return *Take(1); }

uint32_t TReader::Dword() {
  const uint8_t* p = Take(4);
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

TValueType TReader::NextValue() const {
  if (pos_ >= size_) RaiseInvalidPropertyValue();
  return static_cast<TValueType>(data_[pos_]);
}

TValueType TReader::ReadValue() { return static_cast<TValueType>(Byte()); }

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) RaiseInvalidPropertyValue();
}

void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) RaiseInvalidPropertyValue();
}

int32_t TReader::ReadInteger() {
  switch (ReadValue()) {
    case vaInt8: return static_cast<int8_t>(Byte());
    case vaInt16: {
      const uint8_t* p = Take(2);
      return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
    }
    case vaInt32: return static_cast<int32_t>(Dword());
    default: RaiseInvalidPropertyValue();
  }
}

std::string TReader::ReadString() {
  size_t length;
  switch (ReadValue()) {
    case vaString: length = Byte(); break;
    case vaLString: length = Dword(); break;
    default: RaiseInvalidPropertyValue();
  }
  const uint8_t* p = Take(length);
  return std::string(reinterpret_cast<const char*>(p), length);
}

bool TReader::ReadBoolean() {
  switch (ReadValue()) {
    case vaFalse: return false;
    case vaTrue: return true;
    default: RaiseInvalidPropertyValue();
  }
}

std::string TReader::ReadIdent() {
  if (ReadValue() != vaIdent) RaiseInvalidPropertyValue();
  size_t length = Byte();
  const uint8_t* p = Take(length);
  return std::string(reinterpret_cast<const char*>(p), length);
}

std::vector<uint8_t> TReader::ReadBinary() {
  if (ReadValue() != vaBinary) RaiseInvalidPropertyValue();
  size_t count = Dword();
  const uint8_t* p = Take(count);
  return std::vector<uint8_t>(p, p + count);
}

std::string TReader::ReadPropName() {
  size_t length = Byte();
  const uint8_t* p = Take(length);
  return std::string(reinterpret_cast<const char*>(p), length);
}

void TReader::SkipValue() { SkipValue(0); }

void TReader::SkipValue(int depth) {
  // Nesting is bounded so that a hostile stream cannot exhaust the stack.
  if (depth > 32) RaiseInvalidPropertyValue();
  switch (NextValue()) {
    case vaList:
      ReadValue();
      while (!EndOfList()) SkipValue(depth + 1);
      ReadListEnd();
      break;
    case vaInt8:
    case vaInt16:
    case vaInt32: ReadInteger(); break;
    case vaString:
    case vaLString: ReadString(); break;
    case vaIdent: ReadIdent(); break;
    case vaFalse:
    case vaTrue: ReadValue(); break;
    case vaBinary:
      ReadValue();
      Take(Dword());
      break;
    default: RaiseInvalidPropertyValue();
  }
}

// ---------------------------------------------------------------- TWriter

void TWriter::Raw(const void* p, size_t n) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  out_.insert(out_.end(), b, b + n);
}

static void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

void TWriter::WriteInteger(int32_t value) {
  if (value >= -128 && value <= 127) {
    Tag(vaInt8);
    PutLE(out_, static_cast<uint32_t>(value), 1);
  } else if (value >= -32768 && value <= 32767) {
    Tag(vaInt16);
    PutLE(out_, static_cast<uint32_t>(value), 2);
  } else {
    Tag(vaInt32);
    PutLE(out_, static_cast<uint32_t>(value), 4);
  }
}

void TWriter::WriteString(const std::string& text) {
  if (text.size() <= 255) {
    Tag(vaString);
    out_.push_back(static_cast<uint8_t>(text.size()));
  } else {
    Tag(vaLString);
    PutLE(out_, static_cast<uint32_t>(text.size()), 4);
  }
  Raw(text.data(), text.size());
}

void TWriter::WriteIdent(const std::string& name) {
  if (name.empty() || name.size() > 255) RaiseInvalidPropertyValue();
  Tag(vaIdent);
  out_.push_back(static_cast<uint8_t>(name.size()));
  Raw(name.data(), name.size());
}

void TWriter::WriteBinary(const std::vector<uint8_t>& bytes) {
  Tag(vaBinary);
  PutLE(out_, static_cast<uint32_t>(bytes.size()), 4);
  Raw(bytes.data(), bytes.size());
}

void TWriter::WritePropName(const std::string& name) {
  // An empty name would read as the end of the properties.
  if (name.empty() || name.size() > 255) RaiseInvalidPropertyValue();
  out_.push_back(static_cast<uint8_t>(name.size()));
  Raw(name.data(), name.size());
}

// ---------------------------------------------------------------- loader

namespace {

struct PropertyDef {
  std::string name;
  bool binary = false;
  std::function<void(TReader&)> read;
  std::function<void(TWriter&)> write;
  std::function<void(TBytesStream&)> readBinary;
  std::function<void(TBytesStream&)> writeBinary;
  bool hasData = false;
};

class Definitions : public TFiler {
 public:
  void DefineProperty(const std::string& name, std::function<void(TReader&)> read, std::function<void(TWriter&)> write,
                      bool hasData) override {
    PropertyDef d;
    d.name = name;
    d.read = std::move(read);
    d.write = std::move(write);
    d.hasData = hasData;
    defs.push_back(std::move(d));
  }
  void DefineBinaryProperty(const std::string& name, std::function<void(TBytesStream&)> read,
                            std::function<void(TBytesStream&)> write, bool hasData) override {
    PropertyDef d;
    d.name = name;
    d.binary = true;
    d.readBinary = std::move(read);
    d.writeBinary = std::move(write);
    d.hasData = hasData;
    defs.push_back(std::move(d));
  }
  const PropertyDef* Find(const std::string& name) const {
    for (const PropertyDef& d : defs)
      if (d.name == name) return &d;
    return nullptr;
  }
  std::vector<PropertyDef> defs;
};

}  // namespace

void ReadLayout(TLayoutComponent& component, const uint8_t* data, size_t size) {
  Definitions defs;
  component.DefineProperties(defs);
  std::exception_ptr failure;
  component.loading_ = true;
  try {
    TReader reader(data, size);
    // The zero byte after the last property may be missing at the very end.
    while (!reader.EndOfStream()) {
      std::string name = reader.ReadPropName();
      if (name.empty()) break;
      const PropertyDef* def = defs.Find(name);
      if (!def) throw EReadError("Property " + name + " does not exist");
      if (def->binary) {
        TBytesStream bytes(reader.ReadBinary());
        def->readBinary(bytes);
      } else {
        def->read(reader);
      }
    }
  } catch (...) {
    failure = std::current_exception();
  }
  // The component comes up with what was read, also after a failure.
  component.loading_ = false;
  component.Loaded();
  if (failure) std::rethrow_exception(failure);
}

std::vector<uint8_t> WriteLayout(TLayoutComponent& component) {
  Definitions defs;
  component.DefineProperties(defs);
  TWriter writer;
  for (const PropertyDef& d : defs.defs) {
    if (!d.hasData) continue;
    writer.WritePropName(d.name);
    if (d.binary) {
      TBytesStream bytes;
      d.writeBinary(bytes);
      writer.WriteBinary(bytes.Bytes());
    } else {
      d.write(writer);
    }
  }
  writer.WriteEnd();
  return writer.Take();
}

}  // namespace tk
