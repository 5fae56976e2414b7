// The paper and resolution tables and their lookups.
#include <gtest/gtest.h>

#include <string>

#include "uFormInfo.h"
#include "uPrintOem.h"
#include "uResolutions.h"

namespace {

using namespace pixmor;

struct TLookupCase {
  INT argument;
  INT expected;
};

TEST(ResolutionLookups, TableOfCases) {
  for (auto [index, dpi] : {TLookupCase{0, 36}, {12, 1200}, {13, 576}, {-1, 576}, {8, 300}}) {
    EXPECT_EQ(ResolutionAt(index), dpi) << "index " << index;
  }
  for (auto [dpi, index] : {TLookupCase{300, 8},
                            {576, 9},
                            {36, 0},
                            {1200, 12},
                            {360, 9},
                            {0, 9},
                            {-1, 9},
                            {DMRES_HIGH, 9}}) {
    EXPECT_EQ(ResolutionIndexOf(dpi), index) << "dpi " << dpi;
  }
}

TEST(PaperLookups, TableOfCases) {
  for (auto [index, id] :
       {TLookupCase{0, 1}, {24, 25}, {25, 27}, {45, 47}, {46, 50}, {88, 92}, {89, 1}, {-1, 1}}) {
    EXPECT_EQ(PaperIdAt(index), id) << "index " << index;
  }
  for (auto [id, index] : {TLookupCase{9, 8},
                           {27, 25},
                           {92, 88},
                           {26, 0},
                           {48, 0},
                           {0, 0},
                           {256, 0},
                           {-1, 0},
                           {1, 0}}) {
    EXPECT_EQ(PaperIndexOf(id), index) << "paper " << id;
  }
  for (auto [id, row] :
       {TLookupCase{50, 47}, {92, 89}, {27, 26}, {26, 1}, {0, 1}, {-1, 1}, {65536 + 9, 1}}) {
    EXPECT_EQ(PaperRowOf(id), row) << "paper " << id;
  }
}

TEST(PaperLookups, PositionsAndNumbersRoundTrip) {
  for (INT i = 0; i < PaperCount; ++i) {
    const INT id = PaperIdAt(i);
    EXPECT_EQ(PaperIndexOf(id), i);
    EXPECT_EQ(PaperRowOf(id), i + 1);
  }
}

TEST(PaperForms, RowsAsTheTableGivesThem) {
  EXPECT_EQ(std::u16string(PaperForms[0].Name), u"NULL");
  EXPECT_EQ(std::u16string(PaperForms[1].Name), u"Letter");
  EXPECT_EQ(std::u16string(PaperForms[89].Name), u"Japan Envelope You #4 Rotated");
  EXPECT_EQ(PaperForms[87].Width, 304932u);
  EXPECT_EQ(PaperForms[87].Height, 279521u);
  for (const TPaperForm& row : PaperForms) {
    EXPECT_EQ(row.ImageableLeft, 0u);
    EXPECT_EQ(row.ImageableTop, 0u);
    EXPECT_EQ(row.ImageableRight, row.Width);
    EXPECT_EQ(row.ImageableBottom, row.Height);
    EXPECT_LE(NameLength(row.Name), 30u);
  }
}

TEST(Units, MicronsToInches) {
  EXPECT_EQ(MicronsToInches(215900), 8.5);
  EXPECT_DOUBLE_EQ(MicronsToInches(297000), 11.692913385826772);
  EXPECT_EQ(MicronsToInches(215900) * 576, 4896.0);
  EXPECT_EQ(MicronsToInches(0), 0.0);
}

}  // namespace
