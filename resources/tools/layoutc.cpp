// The layout compiler: turns the readable layout files of a program into the
// typed-value streams its windows load, and writes them (with the title
// picture, when there is one) as byte arrays into a C++ source that
// implements res::FindLayout and res::FindTitlePicture.  Each layout is also
// a symbol of its own (res::Unit1_AlignedGrid2 for Unit1.AlignedGrid2.layout),
// declared in the header written with --header: a window names the layout it
// loads, so a layout file that is missing or renamed fails the build.
//
//   layoutc OUTPUT.cpp [--header OUTPUT.h] [--title PICTURE] FILE.layout...
//
// A layout file holds one property entry per line; '#' starts a comment.
//   Cells 0 0 " D[mm]"              entry of a list property (col, row, text)
//   FontCol 1 255 -11 "MS Sans Serif" 0 3
//   AlignCell 2 3 alCenter          entry of a binary property (packed record)
//   Alignment alCenter              a single-valued property
// The lines of one property make up its value, in the order written; the
// properties come out in the order of their first line.  Values: integers
// (decimal, or hexadecimal after 0x), texts in double quotes (\" \\ \n \t
// \xHH escapes; UTF-8), true/false, colour names (clRed...) and other names.
// A layout's name is its file name without ".layout".
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "toolkit/core/Colors.h"
#include "toolkit/layout/LayoutStream.h"

namespace {

struct Token {
  enum Kind { Int, Str, Ident };
  explicit Token(Kind k) : kind(k) {}
  Kind kind;
  int64_t i = 0;
  std::string s;
};

struct CompileError {
  std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw CompileError{message}; }

const std::map<std::string, uint32_t>& ColorNames() {
#define TK_COLOR_NAME(name, value) {#name, value},
  static const std::map<std::string, uint32_t> names = {TK_NAMED_COLORS(TK_COLOR_NAME)};
#undef TK_COLOR_NAME
  return names;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<Token> Tokenize(const std::string& line) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Token t(Token::Str);
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\') {
          if (i >= line.size()) Fail("unfinished escape");
          const char e = line[i++];
          switch (e) {
            case '"': t.s += '"'; break;
            case '\\': t.s += '\\'; break;
            case 'n': t.s += '\n'; break;
            case 't': t.s += '\t'; break;
            case 'x': {
              if (i + 1 >= line.size() || HexDigit(line[i]) < 0 || HexDigit(line[i + 1]) < 0) Fail("bad \\x escape");
              t.s += static_cast<char>(HexDigit(line[i]) * 16 + HexDigit(line[i + 1]));
              i += 2;
              break;
            }
            default: Fail(std::string("unknown escape \\") + e);
          }
        } else {
          t.s += d;
        }
      }
      if (!closed) Fail("text without its closing quote");
      out.push_back(t);
    } else if (c == '-' || c == '+' || (c >= '0' && c <= '9')) {
      size_t j = i;
      while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r' && line[j] != '#') ++j;
      const std::string text = line.substr(i, j - i);
      errno = 0;
      char* end = nullptr;
      const long long v = std::strtoll(text.c_str(), &end, 0);
      if (errno != 0 || end == text.c_str() || *end != '\0') Fail("bad number " + text);
      if (v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) Fail("number out of range " + text);
      Token t(Token::Int);
      t.i = v > INT32_MAX ? static_cast<int32_t>(static_cast<uint32_t>(v)) : v;  // 0x80000002 as a colour
      out.push_back(t);
      i = j;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t j = i;
      while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j])) || line[j] == '_')) ++j;
      Token t(Token::Ident);
      t.s = line.substr(i, j - i);
      out.push_back(t);
      i = j;
    } else {
      Fail(std::string("unexpected character '") + c + "'");
    }
  }
  return out;
}

// A colour name as a number; other names stay names.
Token Resolve(const Token& t) {
  if (t.kind != Token::Ident) return t;
  auto it = ColorNames().find(t.s);
  if (it == ColorNames().end()) return t;
  Token n(Token::Int);
  n.i = static_cast<int32_t>(it->second);
  return n;
}

int AlignOrdinal(const Token& t) {
  if (t.kind == Token::Ident) {
    if (t.s == "alRight") return 0;
    if (t.s == "alLeft") return 1;
    if (t.s == "alCenter") return 2;
    Fail("unknown alignment " + t.s);
  }
  if (t.kind == Token::Int && t.i >= 0 && t.i <= 2) return static_cast<int>(t.i);
  Fail("alignment expected (alRight, alLeft, alCenter)");
}

int Index16(const Token& t) {
  if (t.kind != Token::Int || t.i < 0 || t.i > 65535) Fail("index 0..65535 expected");
  return static_cast<int>(t.i);
}

// Binary properties: the packed records (2-byte indices, 1-byte alignment).
const std::map<std::string, int>& BinaryIndices() {
  static const std::map<std::string, int> m = {
      {"AlignCell", 2}, {"AlignCol", 1}, {"FixedAlignCol", 1}, {"AlignRow", 1}, {"FixedAlignRow", 1}};
  return m;
}

// List properties: the kinds of the values of one entry (i Integer, s String).
const std::map<std::string, std::string>& ListSignatures() {
  static const std::map<std::string, std::string> m = {
      {"HintCell", "iis"},        {"Cells", "iis"},        {"FontCell", "iiiisii"},    {"FontCol", "iiisii"},
      {"FontFixedCol", "iiisii"}, {"FontRow", "iiisii"},   {"FontFixedRow", "iiisii"}, {"ColorCell", "iii"},
      {"ColorCol", "ii"},         {"ColorFixedCol", "ii"}, {"ColorRow", "ii"},         {"ColorFixedRow", "ii"}};
  return m;
}

struct Property {
  std::string name;
  std::vector<std::vector<Token>> entries;
};

std::vector<uint8_t> Compile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  std::vector<Property> props;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    try {
      std::vector<Token> tokens = Tokenize(line);
      if (tokens.empty()) continue;
      if (tokens[0].kind != Token::Ident) Fail("a line starts with a property name");
      const std::string name = tokens[0].s;
      if (name.size() > 255) Fail("property name too long");
      tokens.erase(tokens.begin());
      for (Token& t : tokens) t = Resolve(t);
      Property* p = nullptr;
      for (Property& q : props)
        if (q.name == name) p = &q;
      const bool multi = BinaryIndices().count(name) || ListSignatures().count(name);
      if (p && !multi) Fail("property " + name + " given twice");
      if (!p) {
        props.push_back(Property{name, {}});
        p = &props.back();
      }
      // Check each entry here so that a mistake is reported at its line.
      if (auto b = BinaryIndices().find(name); b != BinaryIndices().end()) {
        if (tokens.size() != static_cast<size_t>(b->second) + 1) Fail(name + ": indices and an alignment expected");
        for (int k = 0; k < b->second; ++k) Index16(tokens[k]);
        AlignOrdinal(tokens.back());
      } else if (auto l = ListSignatures().find(name); l != ListSignatures().end()) {
        const std::string& sig = l->second;
        if (tokens.size() != sig.size()) Fail(name + ": " + std::to_string(sig.size()) + " values expected");
        for (size_t k = 0; k < sig.size(); ++k) {
          const Token::Kind want = sig[k] == 's' ? Token::Str : Token::Int;
          if (tokens[k].kind != want)
            Fail(name + ": value " + std::to_string(k + 1) + " should be " +
                 (want == Token::Str ? "a text" : "a number"));
        }
      } else if (tokens.size() != 1) {
        Fail(name + ": one value expected");
      }
      p->entries.push_back(tokens);
    } catch (const CompileError& e) {
      Fail(path + ":" + std::to_string(lineNo) + ": " + e.message);
    }
  }
  tk::TWriter w;
  for (const Property& p : props) {
    w.WritePropName(p.name);
    if (auto b = BinaryIndices().find(p.name); b != BinaryIndices().end()) {
      tk::TBytesStream bytes;
      for (const auto& e : p.entries) {
        for (int k = 0; k < b->second; ++k) bytes.WriteWord(static_cast<uint16_t>(Index16(e[k])));
        bytes.WriteByte(static_cast<uint8_t>(AlignOrdinal(e.back())));
      }
      w.WriteBinary(bytes.Bytes());
    } else if (ListSignatures().count(p.name)) {
      w.WriteListBegin();
      for (const auto& e : p.entries)
        for (const Token& t : e) {
          if (t.kind == Token::Str) w.WriteString(t.s);
          else w.WriteInteger(static_cast<int32_t>(t.i));
        }
      w.WriteListEnd();
    } else {
      const Token& t = p.entries[0][0];
      if (t.kind == Token::Int) w.WriteInteger(static_cast<int32_t>(t.i));
      else if (t.kind == Token::Str) w.WriteString(t.s);
      else if (t.s == "true" || t.s == "false") w.WriteBoolean(t.s == "true");
      else w.WriteIdent(t.s);
    }
  }
  w.WriteEnd();
  return w.Take();
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void EmitArray(std::ostream& out, const std::string& name, const std::vector<uint8_t>& bytes) {
  out << "const uint8_t " << name << "[] = {";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 16 == 0) out << "\n   ";
    out << ' ' << static_cast<int>(bytes[i]) << ',';
  }
  out << "\n};\n";
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::string ext = ".layout";
  if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
    name.erase(name.size() - ext.size());
  return name;
}

// The layout's symbol: its name with each character that cannot stand in a
// C++ name made '_'.
std::string Symbol(const std::string& name) {
  std::string id = name;
  for (char& c : id)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  if (id.empty() || std::isdigit(static_cast<unsigned char>(id[0]))) id.insert(0, "_");
  return id;
}

std::string Quote(const std::string& s) {
  std::string q = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') q += '\\';
    q += c;
  }
  return q + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: layoutc OUTPUT.cpp [--header OUTPUT.h] [--title PICTURE] FILE.layout...\n";
    return 2;
  }
  try {
    const std::string output = argv[1];
    std::string title, header;
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
      const std::string a = argv[i];
      if (a == "--title" || a == "--header") {
        if (++i >= argc) Fail(a + " needs a file");
        (a == "--title" ? title : header) = argv[i];
      } else {
        files.push_back(a);
      }
    }
    std::ostringstream out;
    out << "// Generated by layoutc from the layout files; edit those, not this.\n"
           "#include <cstddef>\n#include <cstdint>\n#include <string>\n\n"
           "#include \"resources/Layouts.h\"\n\nnamespace res {\n\nnamespace {\n\n";
    std::vector<std::pair<std::string, std::string>> table;
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string array = "kLayout" + std::to_string(i);
      EmitArray(out, array, Compile(files[i]));
      table.emplace_back(BaseName(files[i]), array);
    }
    if (!title.empty()) EmitArray(out, "kTitlePicture", ReadFile(title));
    out << "\nstruct Entry {\n  const char* name;\n  const uint8_t* data;\n  size_t size;\n};\n\n";
    out << "const Entry kLayouts[] = {\n";
    for (const auto& [name, array] : table)
      out << "    {" << Quote(name) << ", " << array << ", sizeof " << array << "},\n";
    out << "    {nullptr, nullptr, 0}};\n\n}  // namespace\n\n";
    std::map<std::string, std::string> symbols;  // symbol -> layout
    for (const auto& [name, array] : table) {
      const std::string id = Symbol(name);
      if (!symbols.emplace(id, name).second)
        Fail("layouts " + symbols[id] + " and " + name + " make the same name " + id);
      out << "extern const Layout " << id << " = {" << array << ", sizeof " << array << "};\n";
    }
    out << "\nbool FindLayout(const std::string& name, const uint8_t*& data, size_t& size) {\n"
           "  for (const Entry* e = kLayouts; e->name; ++e)\n"
           "    if (name == e->name) {\n      data = e->data;\n      size = e->size;\n      return true;\n    }\n"
           "  return false;\n}\n\n";
    out << "bool FindTitlePicture(const uint8_t*& data, size_t& size) {\n";
    if (title.empty()) out << "  (void)data;\n  (void)size;\n  return false;\n";
    else out << "  data = kTitlePicture;\n  size = sizeof kTitlePicture;\n  return true;\n";
    out << "}\n\n}  // namespace res\n";
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file) Fail("cannot write " + output);
    if (!header.empty()) {
      std::ofstream h(header, std::ios::binary | std::ios::trunc);
      h << "// Generated by layoutc: the program's layouts, one symbol each.\n#pragma once\n\n"
           "#include \"resources/Layouts.h\"\n\nnamespace res {\n\n";
      for (const auto& [id, name] : symbols) h << "extern const Layout " << id << ";  // " << name << ".layout\n";
      h << "\n}  // namespace res\n";
      if (!h) Fail("cannot write " + header);
    }
  } catch (const CompileError& e) {
    std::cerr << "layoutc: " << e.message << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "layoutc: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
