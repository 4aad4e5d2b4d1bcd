// Text utilities on the long texts the promotion parser and the log see.

#include <benchmark/benchmark.h>

#include <QString>

#include "core/fake_clock.h"
#include "core/format.h"
#include "core/log_sink.h"
#include "core/string_util.h"
#include "core/text_convert.h"
#include "core/url_util.h"

namespace prunko {
namespace {

QString LongPromotionText() {
  QString text;
  for (int i = 0; i < 200; ++i) {
    text += QString::fromUtf8("【券后价】9.9元 领券：https://uland.taobao.com/coupon/edetail?e=abc%1&pid=mm_1_2_3\r").arg(i);
  }
  return text;
}

void BM_UrlEncode(benchmark::State& state) {
  const QString text = LongPromotionText();
  for (auto _ : state) benchmark::DoNotOptimize(UrlEncode(text));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_UrlEncode);

void BM_UrlDecode(benchmark::State& state) {
  const QString encoded = UrlEncode(LongPromotionText());
  for (auto _ : state) benchmark::DoNotOptimize(UrlDecode(encoded));
  state.SetBytesProcessed(state.iterations() * encoded.size() * 2);
}
BENCHMARK(BM_UrlDecode);

void BM_SplitString(benchmark::State& state) {
  const QString text = LongPromotionText();
  for (auto _ : state) benchmark::DoNotOptimize(SplitString(text, u"\r"));
}
BENCHMARK(BM_SplitString);

void BM_AnsiRoundTripGbk(benchmark::State& state) {
  SetAnsiCodePage("GBK");
  const QString text = LongPromotionText();
  for (auto _ : state) benchmark::DoNotOptimize(AnsiToWide(WideToAnsi(text)));
  ResetAnsiCodePage();
}
BENCHMARK(BM_AnsiRoundTripGbk);

void BM_FormatString(benchmark::State& state) {
  const QString title = QString::fromUtf8("夏季新款纯棉短袖T恤男");
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatString(u"商品“%s”佣金 %.1f%%，券 %d 元，id %lld", title, 20.5, 5, 600123456789LL));
  }
}
BENCHMARK(BM_FormatString);

// The log at its bound: every print appends and trims 31000 characters.
void BM_LogSinkPrint(benchmark::State& state) {
  FakeClock clock;
  ScopedClock use(clock);
  LogSink sink;
  for (auto _ : state) sink.Print(u"商品%d处理完成，佣金比例%.1f%%", 42, 30.5);
}
BENCHMARK(BM_LogSinkPrint);

}  // namespace
}  // namespace prunko
