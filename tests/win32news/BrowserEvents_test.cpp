// The control's events as it sends them through IDispatch::Invoke, arguments last first.
#include "BrowserEvents.h"

#include <exdispid.h>
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct Seen {
  std::vector<std::pair<int, int>> progress;
  int completed = 0;
};

Microsoft::WRL::ComPtr<BrowserEvents> SinkInto(Seen& seen) {
  return BrowserEvents::Create({[&seen](int progress, int progressMax) {
                                  seen.progress.emplace_back(progress, progressMax);
                                },
                                [&seen] { ++seen.completed; }});
}

VARIANT Int(VARTYPE type, LONG value) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = type;
  if (type == VT_I2) {
    v.iVal = static_cast<SHORT>(value);
  } else {
    v.lVal = value;
  }
  return v;
}

void Send(BrowserEvents& sink, DISPID id, std::vector<VARIANT> lastFirst) {
  DISPPARAMS parameters{lastFirst.data(), nullptr, static_cast<UINT>(lastFirst.size()), 0};
  EXPECT_EQ(sink.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr),
            S_OK);
}

TEST(BrowserEventsTest, ProgressReachesTheWindowAsPositionThenMaximum) {
  Seen seen;
  auto sink = SinkInto(seen);
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I4, 10000), Int(VT_I4, 2500)});
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I4, 10000), Int(VT_I4, -1)});
  // Another integer type is taken for its value.
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I2, 100), Int(VT_I2, 7)});
  const std::vector<std::pair<int, int>> expected{{2500, 10000}, {-1, 10000}, {7, 100}};
  EXPECT_EQ(seen.progress, expected);
  EXPECT_EQ(seen.completed, 0);
}

TEST(BrowserEventsTest, MalformedProgressIsIgnored) {
  Seen seen;
  auto sink = SinkInto(seen);
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I4, 5)});
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I4, 1), Int(VT_I4, 2), Int(VT_I4, 3)});
  VARIANT text;
  ::VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = ::SysAllocString(L"half");
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I4, 100), text});
  ::VariantClear(&text);
  EXPECT_EQ(sink->Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                         nullptr, nullptr),
            S_OK);
  EXPECT_TRUE(seen.progress.empty());
}

TEST(BrowserEventsTest, CompletedAndFailedNavigationsBothCountOtherEventsDoNot) {
  Seen seen;
  auto sink = SinkInto(seen);
  Send(*sink.Get(), DISPID_BEFORENAVIGATE2, {});
  Send(*sink.Get(), DISPID_DOWNLOADCOMPLETE, {});
  Send(*sink.Get(), DISPID_DOCUMENTCOMPLETE, {});
  EXPECT_EQ(seen.completed, 0);
  Send(*sink.Get(), DISPID_NAVIGATECOMPLETE2, {});
  Send(*sink.Get(), DISPID_NAVIGATEERROR, {});
  EXPECT_EQ(seen.completed, 2);
}

TEST(BrowserEventsTest, DetachedSinkDeliversNothing) {
  Seen seen;
  auto sink = SinkInto(seen);
  sink->Detach();
  Send(*sink.Get(), DISPID_NAVIGATECOMPLETE2, {});
  Send(*sink.Get(), DISPID_PROGRESSCHANGE, {Int(VT_I4, 100), Int(VT_I4, 50)});
  EXPECT_EQ(seen.completed, 0);
  EXPECT_TRUE(seen.progress.empty());
}

// A sink whose completion handler owns token and nothing else does.
Microsoft::WRL::ComPtr<BrowserEvents> SinkOwning(std::shared_ptr<int> token,
                                                 std::function<void()> body) {
  return BrowserEvents::Create({nullptr, [token, body] { body(); }});
}

void Complete(BrowserEvents* sink) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(sink->Invoke(DISPID_NAVIGATECOMPLETE2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                         nullptr, nullptr),
            S_OK);
}

TEST(BrowserEventsTest, HandlerMayTearTheSinkDownWhileItRuns) {
  // The window may tear the news page down from inside its completion handler: the sink and the
  // handler it runs stay alive until the handler returns, then everything is released.
  auto token = std::make_shared<int>(0);
  const std::weak_ptr<int> watch = token;
  long holdersAfterDetach = -1;
  Microsoft::WRL::ComPtr<BrowserEvents> sink;
  sink = SinkOwning(std::move(token), [&] {
    sink->Detach();
    holdersAfterDetach = watch.use_count();  // the running handler still holds its token
  });
  Complete(sink.Get());
  EXPECT_EQ(holdersAfterDetach, 1);

  token = std::make_shared<int>(0);
  const std::weak_ptr<int> watchReleased = token;
  long holdersAfterRelease = -1;
  sink = SinkOwning(std::move(token), [&] {
    sink.Reset();  // the last reference but the call's own
    holdersAfterRelease = watchReleased.use_count();
  });
  BrowserEvents* raw = sink.Get();
  Complete(raw);
  EXPECT_EQ(holdersAfterRelease, 2);  // the sink's handler and the running copy
  EXPECT_TRUE(watchReleased.expired());
  EXPECT_TRUE(watch.expired());
}

}  // namespace
