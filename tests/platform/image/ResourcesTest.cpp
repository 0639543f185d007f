#include "platform/image/ResourceStream.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

TEST(Resources, FoundByTypeAndCaseInsensitiveNameOrNumber) {
  const std::uint8_t logo[] = {1, 2, 3};
  const std::uint8_t arrow[] = {9};
  RegisterResource(RT_RCDATA, "TestLogo", logo);
  RegisterResource(RT_GROUP_CURSOR, 123, arrow);

  auto found = FindResourceData(RT_RCDATA, "TESTLOGO");
  ASSERT_TRUE(found);
  EXPECT_EQ(std::vector<std::uint8_t>(found->begin(), found->end()), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_TRUE(FindResourceData(RT_RCDATA, "testlogo"));
  EXPECT_FALSE(FindResourceData(RT_BITMAP, "TestLogo"));  // the type must match
  // Numbers as ints, "#123" or digits; the single-cursor type finds the stored file.
  EXPECT_TRUE(FindResourceData(RT_GROUP_CURSOR, "#123"));
  EXPECT_TRUE(FindResourceData(RT_CURSOR, "123"));
  EXPECT_FALSE(FindResourceData(RT_GROUP_CURSOR, "#124"));
  EXPECT_TRUE(FindResourceData("#12", 123));

  EXPECT_THROW(GetResourceData(RT_RCDATA, "Missing"), EResNotFound);
  UnregisterResource(RT_RCDATA, "testlogo");
  EXPECT_FALSE(FindResourceData(RT_RCDATA, "TestLogo"));
  UnregisterResource(RT_GROUP_CURSOR, 123);
}

TEST(Resources, NamedTypesAndIdsNormalise) {
  EXPECT_EQ(TResourceId("png").Key(), "PNG");
  EXPECT_EQ(TResourceId("#007").Key(), "#7");
  EXPECT_EQ(TResourceId(10).Key(), TResourceId("#10").Key());
  EXPECT_FALSE(TResourceId("#1x").IsNumeric());
  EXPECT_EQ(TResourceId("").Key(), "");
}

TEST(Resources, StreamReadsTheBytesAndRefusesWrites) {
  const std::uint8_t data[] = {10, 20, 30, 40};
  RegisterResource(RT_RCDATA, "StreamData", data);
  TResourceStream stream(nullptr, "streamdata", RT_RCDATA);
  EXPECT_EQ(stream.Size(), 4);
  std::uint8_t buffer[8] = {};
  stream.Seek(1, soBeginning);
  EXPECT_EQ(stream.Read(buffer, 8), 3);
  EXPECT_EQ(buffer[0], 20);
  EXPECT_EQ(buffer[2], 40);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
  EXPECT_THROW(stream.WriteByte(1), EStreamError);
  UnregisterResource(RT_RCDATA, "StreamData");
  EXPECT_THROW(TResourceStream(nullptr, "StreamData", RT_RCDATA), EResNotFound);
}
