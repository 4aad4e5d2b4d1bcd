#include "cloud/feeds.h"

#include "cloud_fixture.h"
#include "goods/goods_json.h"

namespace prunko {
namespace {

using sandbox::CloudStandIn;

class Feeds : public test::CloudFixture {
 protected:
  void SetUp() override {
    CloudFixture::SetUp();
    LogIn();
  }
};

TEST_F(Feeds, EachFeedDeliversAGoodsListHonouringTheFilters) {
  int total = 0;
  for (const FeedSource& feed : kFeedSources) {
    HttpResponse r;
    ASSERT_TRUE(FetchFeed(feed, 0, 0, 0, r));
    const auto goods = GoodsListFromJson(r.body_text);
    ASSERT_TRUE(goods.has_value());
    EXPECT_EQ(goods->size(), 24);
    total += static_cast<int>(goods->size());
  }
  EXPECT_EQ(total, 72);
  EXPECT_EQ(server_.Requests().back().body, "appkey=kwestal&v=1.59&token=tok-13800138000-7f3a&tmall=0&sales=0&min_price=0");

  HttpResponse r;
  ASSERT_TRUE(FetchFeed(kFeedSources[0], 1, 3000, 40, r));
  const auto filtered = GoodsListFromJson(r.body_text);
  ASSERT_TRUE(filtered.has_value());
  ASSERT_FALSE(filtered->isEmpty());
  for (const GoodsItem& g : *filtered) {
    EXPECT_EQ(g.is_tmall, GoodsItem::kTmall);
    EXPECT_GE(g.sales, 3000);
    EXPECT_GE(g.price_discount, 40.0f);
    EXPECT_FALSE(g.title.isEmpty());
    EXPECT_TRUE(g.pic_url.startsWith(u"http://img.velmorind.test/bao/"));
  }
  // The picture each goods item names is served.
  HttpResponse picture;
  ASSERT_TRUE(HttpClient(QString()).Get(filtered->first().pic_url, {}, {}, picture));
  EXPECT_EQ(picture.status_code, 200);
  EXPECT_TRUE(picture.body_raw.startsWith("\xFF\xD8\xFF"));
}

TEST_F(Feeds, GroupsListAndMessagesWithPaging) {
  QList<CollectionGroup> groups;
  ASSERT_EQ(FetchGroups(groups), kGroupsListed);
  ASSERT_EQ(groups.size(), 2);
  EXPECT_EQ(groups[0].uin, 610002001);
  EXPECT_EQ(groups[0].name, QString::fromUtf8("精品服饰采集群"));
  EXPECT_EQ(groups[0].maxid, 2);  // twelve messages, the last ten wanted

  QStringList messages;
  QString error;
  EXPECT_EQ(FetchGroupMessages(groups[0], messages, error), kGroupMessagesNew);
  EXPECT_EQ(messages.size(), 10);
  EXPECT_EQ(groups[0].maxid, 12);
  EXPECT_TRUE(messages[0].contains(QString::fromUtf8("【天猫】")));
  EXPECT_TRUE(messages[0].contains(u"https://uland.taobao.com/coupon/edetail?activityId="));
  EXPECT_EQ(server_.Requests().back().body, R"(uin={"data":[{"groupuin":"610002001","maxid":"2"}]})");

  EXPECT_EQ(FetchGroupMessages(groups[0], messages, error), kGroupMessagesNew);
  EXPECT_TRUE(messages.isEmpty());
  stand_in_.PostGroupMessage(610002001, "新的一条 \"带引号\" https://s.click.taobao.test/abc");
  EXPECT_EQ(FetchGroupMessages(groups[0], messages, error), kGroupMessagesNew);
  EXPECT_EQ(messages, QStringList{QString::fromUtf8("新的一条 \"带引号\" https://s.click.taobao.test/abc")});
  EXPECT_EQ(groups[0].maxid, 13);

  CollectionGroup unknown{42, "x", 0};
  EXPECT_EQ(FetchGroupMessages(unknown, messages, error), kGroupMessagesFailed);
}

TEST_F(Feeds, OddGroupReplies) {
  QList<CollectionGroup> groups;
  Answer(CloudStandIn::kApiHost, "GET", "/v1/groups/list/e", 200,
         R"([{"uin":"9000000000","name":"\u5927","maxid":"5"},{"uin":1,"name":"n","maxid":"30"},{"uin":"2","name":"m","maxid":"30"}])");
  ASSERT_EQ(FetchGroups(groups), kGroupsListed);
  ASSERT_EQ(groups.size(), 2);
  EXPECT_EQ(groups[0], (CollectionGroup{9000000000, QString::fromUtf8("大"), 0}));  // 64-bit uin; 5 - 10 gives 0
  EXPECT_EQ(groups[1].maxid, 20);
  Answer(CloudStandIn::kApiHost, "GET", "/v1/groups/list/e", 200, R"({"uin":"1"})");
  EXPECT_EQ(FetchGroups(groups), kGroupsBadReply);
  EXPECT_TRUE(groups.isEmpty());

  CollectionGroup group{610002001, "g", 7};
  QStringList messages;
  QString error;
  const struct {
    const char* reply;
    int code;
    int maxid;
    int messages;
  } cases[] = {
      {R"({"code":1001,"pagelist":[{"data":[{"msg":"a"},{"nomsg":1},{"msg":"b"}]}]})", kGroupMessagesNew, 7, 2},
      {R"({"code":1001,"pagelist":[{"maxid":"9"}]})", kGroupMessagesNew, 9, 0},
      {R"({"code":1001,"pagelist":[]})", kGroupMessagesBadReply, 9, 0},
      {R"({"code":"1001","pagelist":[{}]})", kGroupMessagesBadReply, 9, 0},
      {R"({"code":1003,"pagelist":[{}]})", kGroupMessagesBadParameter, 9, 0},
  };
  for (const auto& c : cases) {
    Answer(CloudStandIn::kRelayHost, "POST", "/msg_api.php", 200, c.reply);
    EXPECT_EQ(FetchGroupMessages(group, messages, error), c.code) << c.reply;
    EXPECT_EQ(group.maxid, c.maxid);
    EXPECT_EQ(messages.size(), c.messages);
  }
  Unreachable(CloudStandIn::kRelayHost);
  EXPECT_EQ(FetchGroupMessages(group, messages, error), kGroupMessagesUnreachable);
  EXPECT_EQ(error, u"ThreadHttpSendRequest error. ErrCode=[12029]");
}

}  // namespace
}  // namespace prunko
