#pragma once

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <string>

namespace prunko::sandbox {

// Builds a stand-in's JSON reply. With `ascii_only` every character beyond
// ASCII is written as a \u escape, as some services do.
class ReplyJson {
 public:
  explicit ReplyJson(bool ascii_only = false);

  ReplyJson& Key(const char* key);
  ReplyJson& Str(const std::string& value);
  ReplyJson& Int(int64_t value);
  ReplyJson& Bool(bool value);
  ReplyJson& Double(double value);
  ReplyJson& StartObject();
  ReplyJson& EndObject();
  ReplyJson& StartArray();
  ReplyJson& EndArray();
  // The text; call once, after closing everything that was opened.
  std::string Text();

 private:
  // Only one of the two writers ever touches the buffer.
  template <typename F>
  ReplyJson& Write(F&& write) {
    if (ascii_only_) {
      write(ascii_);
    } else {
      write(utf8_);
    }
    return *this;
  }

  bool ascii_only_;
  rapidjson::StringBuffer buffer_;
  rapidjson::Writer<rapidjson::StringBuffer> utf8_;
  rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::ASCII<>> ascii_;
};

// {"status":<status>,"msg":<msg>}
std::string StatusReply(int status, const std::string& msg);

// A price or a rate as the services write it: "%.2f".
std::string Money(double value);

// A short code of letters and digits that stands for a text, the same for
// the same text (links, Tao passwords).
std::string ShortCode(const std::string& text, size_t length);

// What the maker's services compute a "sign" as: MD5 over the source text
// taken unit by unit (each UTF-16 unit's low byte), in lower-case hex.
std::string ServiceSign(const std::string& utf8_source);

}  // namespace prunko::sandbox
