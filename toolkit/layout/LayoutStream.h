#pragma once
// Window layouts as typed-value streams: the reader and writer of the values,
// the byte stream that binary properties are read from and written to, and the
// property-stream loader that hands each property to the reader its component
// defined for it.  No Qt here: the layout compiler links this file too.
//
// Stream of one component: properties one after another, each its name (a
// length byte and the characters) and one value; a zero byte (an empty name)
// ends the properties.  Every read is checked against the end of the stream: a
// stream that does not hold what its reader expects fails with EReadError
// "Invalid property value" and nothing is read outside it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tk {

// Tags of the typed values.
enum TValueType : uint8_t {
  vaNull = 0,    // end of a list
  vaList = 1,    // values up to vaNull
  vaInt8 = 2,    // signed byte
  vaInt16 = 3,   // signed 16-bit, little-endian
  vaInt32 = 4,   // signed 32-bit, little-endian
  vaString = 6,  // length byte and up to 255 bytes of UTF-8 text
  vaIdent = 7,   // an enumeration value by name: length byte and characters
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,   // 32-bit little-endian byte count and the bytes
  vaLString = 12,  // 32-bit little-endian length and the text
};

extern const char* const kInvalidPropertyValue;  // "Invalid property value"
[[noreturn]] void RaiseInvalidPropertyValue();

// The bytes of a binary property.  Reads past the end fail (EReadError) and
// leave the position where it was.
class TBytesStream {
 public:
  TBytesStream() = default;
  TBytesStream(const uint8_t* data, size_t size) : data_(data, data + size) {}
  explicit TBytesStream(std::vector<uint8_t> data) : data_(std::move(data)) {}

  size_t Position() const { return pos_; }
  void SetPosition(size_t pos) { pos_ = pos < data_.size() ? pos : data_.size(); }
  size_t Size() const { return data_.size(); }
  size_t Remaining() const { return data_.size() - pos_; }
  // Reads exactly count bytes or fails without reading.
  void ReadBuffer(void* buffer, size_t count);
  uint8_t ReadByte();
  uint16_t ReadWord();  // little-endian
  void WriteBuffer(const void* buffer, size_t count);
  void WriteByte(uint8_t b) { WriteBuffer(&b, 1); }
  void WriteWord(uint16_t w);
  const std::vector<uint8_t>& Bytes() const { return data_; }

 private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

// Reads typed values from a layout stream it does not own.
class TReader {
 public:
  TReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Position() const { return pos_; }
  size_t Size() const { return size_; }
  bool EndOfStream() const { return pos_ >= size_; }
  // The tag of the next value without reading it; fails at the end of the stream.
  TValueType NextValue() const;
  TValueType ReadValue();

  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList() const { return NextValue() == vaNull; }

  int32_t ReadInteger();              // vaInt8, vaInt16 or vaInt32
  std::string ReadString();           // vaString or vaLString
  bool ReadBoolean();                 // vaFalse or vaTrue
  std::string ReadIdent();            // vaIdent
  std::vector<uint8_t> ReadBinary();  // vaBinary
  // A property name (length byte and characters, no tag); "" ends the properties.
  std::string ReadPropName();
  // Skips one value of any kind (a property nobody reads); lists nest up to
  // a fixed depth.
  void SkipValue();

 private:
  uint8_t Byte();
  const uint8_t* Take(size_t count);  // checked; advances
  uint32_t Dword();
  void SkipValue(int depth);
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Writes typed values, each in its smallest form.
class TWriter {
 public:
  void WriteListBegin() { Tag(vaList); }
  void WriteListEnd() { Tag(vaNull); }
  void WriteInteger(int32_t value);
  void WriteString(const std::string& text);
  void WriteBoolean(bool value) { Tag(value ? vaTrue : vaFalse); }
  void WriteIdent(const std::string& name);
  void WriteBinary(const std::vector<uint8_t>& bytes);
  void WritePropName(const std::string& name);
  void WriteEnd() { Tag(vaNull); }  // after the last property
  const std::vector<uint8_t>& Bytes() const { return out_; }
  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  void Tag(TValueType t) { out_.push_back(t); }
  void Raw(const void* p, size_t n);
  std::vector<uint8_t> out_;
};

// What a component defines for the layout: per property a reader, a writer
// and whether it has data to write.  A property is either a typed value read
// through the layout reader or a binary value handed over as a byte stream.
class TFiler {
 public:
  virtual ~TFiler() = default;
  virtual void DefineProperty(const std::string& name, std::function<void(TReader&)> read,
                              std::function<void(TWriter&)> write, bool hasData) = 0;
  virtual void DefineBinaryProperty(const std::string& name, std::function<void(TBytesStream&)> read,
                                    std::function<void(TBytesStream&)> write, bool hasData) = 0;
};

// A component that can be stored in and loaded from a layout.
class TLayoutComponent {
 public:
  virtual ~TLayoutComponent() = default;
  // Published properties first, then the defined ones, in stream order.
  virtual void DefineProperties(TFiler& filer) {}
  // The after-loading step, run when the whole stream has been read.
  virtual void Loaded() {}
  bool Loading() const { return loading_; }

 private:
  friend void ReadLayout(TLayoutComponent&, const uint8_t*, size_t);
  bool loading_ = false;
};

// Reads the component's properties from the stream and then runs Loaded.
// A malformed stream raises EReadError after Loaded has run, so that the
// component comes up with what was read; an unknown property name raises
// EReadError "Property <name> does not exist" in the same way.
void ReadLayout(TLayoutComponent& component, const uint8_t* data, size_t size);
// The stream of the properties whose hasData answer is true, ended by a zero byte.
std::vector<uint8_t> WriteLayout(TLayoutComponent& component);

}  // namespace tk
