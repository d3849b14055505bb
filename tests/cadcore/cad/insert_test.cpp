// Interactive block insertion driven by drawing-window lines: position by
// dragging and picking, scale and angle by dragging, typing or the right
// button, cancel, and the user coordinate system.
#include <cmath>
#include <optional>
#include <string>

#include "cadtest.h"
#include "CommonUtils.h"
#include "acedcurview.h"
#include "acedgr.h"
#include "dbblkref.h"
#include "dbcurves.h"

namespace {

const double kPi = 3.14159265358979323846;

struct RefState {
  AcGePoint3d position;
  double rotation = 0;
  AcGeScale3d scale;
};

class InsertTest : public CadTest {
 protected:
  void SetUp() override {
    CadTest::SetUp();
    acad::ResetGrRead();
    // A block whose extents at scale 1 have a diagonal of 5.
    AcDbVoidPtrArray arEntities;
    arEntities.append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0)));
    m_blockId = CCommonUtils::createBlockRecord(L"Unit", arEntities);
    ASSERT_FALSE(m_blockId.isNull());
  }
  void TearDown() override {
    acad::ResetGrRead();
    CadTest::TearDown();
  }

  AcDbObjectId NewRef(const AcGePoint3d& position = AcGePoint3d::kOrigin) {
    return CCommonUtils::createBlockRef(m_blockId, position, 0, AcGeVector3d::kZAxis, 1, 1);
  }

  static RefState State(AcDbObjectId refId) {
    RefState state;
    AcDbBlockReference* pRef = nullptr;
    EXPECT_EQ(acdbOpenObject(pRef, refId, AcDb::kForRead), Acad::eOk);
    if (!pRef) return state;
    state.position = pRef->position();
    state.rotation = pRef->rotation();
    state.scale = pRef->scaleFactors();
    pRef->close();
    return state;
  }

  // Block references of model space not erased.
  int LiveRefs() {
    int nCount = 0;
    AcDbBlockTable* pTable = nullptr;
    AcDbBlockTableRecord* pSpace = nullptr;
    Db()->getBlockTable(pTable, AcDb::kForRead);
    pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForRead);
    pTable->close();
    for (const AcDbObjectId& id : pSpace->entityIds())
      if (!id.isErased() && id.objectClass() == AcDbBlockReference::desc()) ++nCount;
    pSpace->close();
    return nCount;
  }

  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
  static std::optional<std::string> NextLine() { return user::Script::Instance().Peek(); }

  AcDbObjectId m_blockId;
};

// ---- the whole insertion --------------------------------------------------------

TEST_F(InsertTest, DragThenPickThenTypedScaleThenTypedAngle) {
  Answer({"@drag 1,1", "@drag 2,2", "@pick 5,6", "@type 2.5", "@type", "@type 30", "@type"});
  double dScale = 1, dAngle = 0;
  AcDbObjectId refId;
  ASSERT_EQ(CCommonUtils::insertBlockRef(m_blockId, dScale, dAngle, refId, 1, 1), RTNORM);
  ASSERT_FALSE(refId.isNull());
  EXPECT_EQ(LiveRefs(), 1);
  EXPECT_DOUBLE_EQ(dScale, 2.5);
  EXPECT_DOUBLE_EQ(dAngle, 30);
  RefState state = State(refId);
  EXPECT_TRUE(state.position.isEqualTo(AcGePoint3d(5, 6, 0)));
  EXPECT_NEAR(state.scale.sx, 2.5, 1e-9);
  EXPECT_NEAR(state.scale.sy, 2.5, 1e-9);
  EXPECT_NEAR(state.rotation, kPi / 6, 1e-9);
  std::string out = Out();
  EXPECT_TRUE(Has(out, "  请确定插入位置：")) << out;
  EXPECT_TRUE(Has(out, "  请确定插入比例：/<鼠标控制>")) << out;
  EXPECT_TRUE(Has(out, "2.5@type")) << out;  // typed characters are echoed
  EXPECT_TRUE(Has(out, "  请确定插入角度：/<鼠标控制>")) << out;
}

TEST_F(InsertTest, GivenScaleAndAngleAreAppliedOnceWithoutAsking) {
  Answer({"@drag 1,1", "@pick 4,4", "@pick 99,99"});
  double dScale = 2, dAngle = 30;
  AcDbObjectId refId;
  ASSERT_EQ(CCommonUtils::insertBlockRef(m_blockId, dScale, dAngle, refId, 1, 1), RTNORM);
  RefState state = State(refId);
  EXPECT_NEAR(state.scale.sx, 2, 1e-9);         // not 4
  EXPECT_NEAR(state.rotation, kPi / 6, 1e-9);   // not 60 degrees
  EXPECT_TRUE(state.position.isEqualTo(AcGePoint3d(4, 4, 0)));
  EXPECT_FALSE(Has(Out(), "比例")) << Out();
  EXPECT_EQ(NextLine(), std::optional<std::string>("@pick 99,99"));  // nothing more was read
}

TEST_F(InsertTest, CancelInAnyStepErasesTheReference) {
  Answer({"@drag 1,1", "@pick 4,4", "@drag 20,0", "^C"});
  double dScale = 1, dAngle = 0;
  AcDbObjectId refId;
  EXPECT_EQ(CCommonUtils::insertBlockRef(m_blockId, dScale, dAngle, refId, 1, 1), RTCAN);
  EXPECT_TRUE(refId.isNull());
  EXPECT_EQ(LiveRefs(), 0);

  size_t before = Out().size();
  Answer({"@pick 4,4", "@rclick"});
  EXPECT_EQ(CCommonUtils::insertBlockRef(m_blockId, dScale, dAngle, refId, 0, 1), RTNORM);  // rclick: angle 0
  EXPECT_EQ(LiveRefs(), 1);
  EXPECT_FALSE(Has(Out().substr(before), "比例")) << Out();
}

// ---- position -----------------------------------------------------------------------

TEST_F(InsertTest, PointInsertMakesTheReferenceOnTheFirstDragWithAngleAndScale) {
  Answer({"@drag 1,2", "@drag 3,4", "@pick 7,8"});
  AcDbObjectId refId;
  AcGePoint3d position;
  ASSERT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 90, 3), RTNORM);
  EXPECT_TRUE(position.isEqualTo(AcGePoint3d(7, 8, 0)));
  RefState state = State(refId);
  EXPECT_TRUE(state.position.isEqualTo(position));
  EXPECT_NEAR(state.rotation, kPi / 2, 1e-12);
  EXPECT_EQ(state.scale, AcGeScale3d(3, 3, 1));
  EXPECT_EQ(LiveRefs(), 1);  // drags move it, they make no second one
}

TEST_F(InsertTest, PointInsertPickWithoutDragStillInserts) {
  Answer({"@type x", "@pick 2,3"});
  AcDbObjectId refId;
  AcGePoint3d position;
  ASSERT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 0, 1), RTNORM);
  ASSERT_FALSE(refId.isNull());
  EXPECT_TRUE(State(refId).position.isEqualTo(AcGePoint3d(2, 3, 0)));
}

TEST_F(InsertTest, PointInsertCancelsBeforeAndAfterTheFirstDrag) {
  AcDbObjectId refId;
  AcGePoint3d position(1, 1, 1);
  Answer({"^C"});
  EXPECT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 0, 1), RTCAN);
  EXPECT_TRUE(refId.isNull());
  EXPECT_EQ(position, AcGePoint3d(1, 1, 1));

  Answer({"@drag 1,1", "^C"});
  EXPECT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 0, 1), RTCAN);
  EXPECT_TRUE(refId.isNull());
  Answer({"@drag 1,1", "@rclick"});
  EXPECT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 0, 1), RTCAN);
  Answer({"@drag 1,1"});  // the end of the script cancels too
  EXPECT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 0, 1), RTCAN);
  EXPECT_EQ(LiveRefs(), 0);
}

TEST_F(InsertTest, PointsComeInUserCoordinates) {
  // User origin at world (100,0), turned a quarter: user (1,0) is world (100,1).
  ASSERT_EQ(acedSetCurrentUCS(AcGeMatrix3d::translation(AcGeVector3d(100, 0, 0)) *
                              AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis)),
            Acad::eOk);
  Answer({"@drag 0,0", "@pick 1,0", "@drag 1,-10", "@pick 0,0", "@drag 1,2", "@pick 0,0"});
  AcDbObjectId refId;
  AcGePoint3d position;
  ASSERT_EQ(CCommonUtils::pointInsert(m_blockId, refId, position, 0, 1), RTNORM);
  EXPECT_TRUE(position.isEqualTo(AcGePoint3d(100, 1, 0))) << position.x << "," << position.y;
  // User (1,-10) is world (110,1), 10 away from the base: 10 / 5 * 8.
  double dScale = 1;
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, position, dScale), RTNORM);
  EXPECT_NEAR(dScale, 16, 1e-9);
  // User (1,2) is world (98,1), straight left of the base: 180 degrees.
  double dAngle = 0;
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, position, dAngle), RTNORM);
  EXPECT_NEAR(dAngle, 180, 1e-9);
}

// ---- scale -----------------------------------------------------------------------

TEST_F(InsertTest, ScaleGivenIsAppliedOnlyWhenPositiveAndNotOne) {
  AcDbObjectId refId = NewRef();
  Answer({"@pick 0,0"});
  double dScale = 2;
  EXPECT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTNORM);
  EXPECT_NEAR(State(refId).scale.sx, 2, 1e-12);
  EXPECT_EQ(Out(), "");
  EXPECT_TRUE(NextLine().has_value());

  dScale = 1.0000001;  // as good as 1: asks
  EXPECT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTNORM);
  EXPECT_TRUE(Has(Out(), "请确定插入比例")) << Out();
  EXPECT_NEAR(dScale, 2, 1e-12);  // a pick keeps the current scale
  Answer({"@type 3", "@type"});
  dScale = -2;  // not positive: asks
  EXPECT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTNORM);
  EXPECT_NEAR(State(refId).scale.sx, 3, 1e-12);
}

TEST_F(InsertTest, ScaleTypedZeroOrTextIsAnInputError) {
  AcDbObjectId refId = NewRef();
  Answer({"@type 0", "@type", "@type abc", "@type", "@type 4", "@type"});
  double dScale = 1;
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTNORM);
  EXPECT_DOUBLE_EQ(dScale, 4);
  EXPECT_NEAR(State(refId).scale.sx, 4, 1e-12);
  std::string out = Out();
  size_t first = out.find("\n  输入错误！请确定插入比例：/<鼠标控制>");
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_NE(out.find("输入错误！", first + 1), std::string::npos) << out;  // "abc" reads as 0 too

  Answer({"@type 5x", "@type \b\b", "@type"});  // backspace takes characters back: "5"
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale = 1), RTNORM);
  EXPECT_DOUBLE_EQ(dScale, 1);  // "5x" less two characters is empty: 1
}

TEST_F(InsertTest, ScaleEnterAloneOrRightButtonMeansOne) {
  AcDbObjectId refId = NewRef();
  Answer({"@drag 10,0", "@type"});
  double dScale = 1;
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTNORM);
  EXPECT_DOUBLE_EQ(dScale, 1);
  EXPECT_NEAR(State(refId).scale.sx, 1, 1e-12);
  Answer({"@drag 10,0", "@rclick"});
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTNORM);
  EXPECT_DOUBLE_EQ(dScale, 1);
  EXPECT_NEAR(State(refId).scale.sx, 1, 1e-12);
}

TEST_F(InsertTest, ScaleFollowsTheDragDistanceAgainstTheBlockSize) {
  AcDbObjectId refId = NewRef(AcGePoint3d(10, 10, 0));
  AcGePoint3d base(10, 10, 0);
  Answer({"@drag 20,10", "@drag 10,10", "@drag 15,10", "@pick 0,0"});
  double dScale = 1;
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, base, dScale), RTNORM);
  EXPECT_NEAR(dScale, 8, 1e-9);  // the last drag: 5 / 5 * 8; the one on the base is passed over
  RefState state = State(refId);
  EXPECT_NEAR(state.scale.sx, 8, 1e-9);
  EXPECT_NEAR(state.scale.sy, 8, 1e-9);
  EXPECT_TRUE(state.position.isEqualTo(base));
}

TEST_F(InsertTest, ScaleCancelErasesAndAnotherKindIsRefused) {
  AcDbObjectId refId = NewRef();
  Answer({"@drag 10,0", "^C"});
  double dScale = 1;
  EXPECT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d::kOrigin, dScale), RTCAN);
  EXPECT_TRUE(refId.isErased());

  AcDbObjectId lineId = Add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  size_t before = Out().size();
  EXPECT_EQ(CCommonUtils::scaleInsert(lineId, AcGePoint3d::kOrigin, dScale), -5001);
  EXPECT_EQ(CCommonUtils::rotateInsert(lineId, AcGePoint3d::kOrigin, dScale), -5001);
  EXPECT_EQ(Out().size(), before);
  EXPECT_FALSE(lineId.isErased());
}

// On a reference that already stands at 30 degrees and scale 2: a given
// scale and angle work from there, and so do drags.
TEST_F(InsertTest, GivenScaleAndAngleAndDragsWorkFromTheCurrentState) {
  AcDbObjectId refId = CCommonUtils::createBlockRef(m_blockId, AcGePoint3d(1, 1, 0), kPi / 6, AcGeVector3d::kZAxis, 2, 2);
  ASSERT_FALSE(refId.isNull());
  double dScale = 1.5, dAngle = 45;
  ASSERT_EQ(CCommonUtils::scaleInsert(refId, AcGePoint3d(1, 1, 0), dScale), RTNORM);
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d(1, 1, 0), dAngle), RTNORM);
  RefState state = State(refId);
  EXPECT_NEAR(state.scale.sx, 3, 1e-9);
  EXPECT_NEAR(state.scale.sy, 3, 1e-9);
  EXPECT_NEAR(state.rotation, 75 * kPi / 180, 1e-9);
  EXPECT_TRUE(state.position.isEqualTo(AcGePoint3d(1, 1, 0)));
  EXPECT_EQ(Out(), "");

  // Drags at 90 and then 180 degrees: the reference turns by each change,
  // ending 180 degrees past where it started (75 + 180).
  Answer({"@drag 1,6", "@drag -4,1", "@pick 0,0"});
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d(1, 1, 0), dAngle = 0), RTNORM);
  EXPECT_NEAR(dAngle, 180, 1e-9);
  EXPECT_NEAR(State(refId).rotation, 255 * kPi / 180, 1e-9);
}

// ---- angle -----------------------------------------------------------------------

TEST_F(InsertTest, RotateAsksForATenMillionthOfADegreeButNotForTwoMillionths) {
  AcDbObjectId refId = NewRef();
  Answer({"@drag 0,5", "@pick 9,9"});
  double dAngle = 0.0000001;
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d::kOrigin, dAngle), RTNORM);
  EXPECT_TRUE(Has(Out(), "  请确定插入角度：/<鼠标控制>")) << Out();
  EXPECT_NEAR(dAngle, 90, 1e-9);
  EXPECT_NEAR(State(refId).rotation, kPi / 2, 1e-12);

  AcDbObjectId otherId = NewRef();
  size_t before = Out().size();
  Answer({"@pick 9,9"});
  dAngle = 0.000002;
  ASSERT_EQ(CCommonUtils::rotateInsert(otherId, AcGePoint3d::kOrigin, dAngle), RTNORM);
  EXPECT_EQ(Out().size(), before);
  EXPECT_EQ(NextLine(), std::optional<std::string>("@pick 9,9"));
  EXPECT_NEAR(State(otherId).rotation, 0.000002 * kPi / 180, 1e-15);
  EXPECT_DOUBLE_EQ(dAngle, 0.000002);
}

TEST_F(InsertTest, RotateDragMeasuresCounterClockwiseFromTheXAxis) {
  AcDbObjectId refId = NewRef(AcGePoint3d(1, 1, 0));
  AcGePoint3d base(1, 1, 0);
  Answer({"@drag 1,1", "@pick 0,0"});  // on the base: 0
  double dAngle = 0;
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, base, dAngle), RTNORM);
  EXPECT_NEAR(dAngle, 0, 1e-12);

  Answer({"@drag 2,2", "@drag 1,0", "@pick 5,5"});
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, base, dAngle = 0), RTNORM);
  EXPECT_NEAR(dAngle, 270, 1e-9);  // below the axis: 2π less the angle
  EXPECT_NEAR(State(refId).rotation, 1.5 * kPi, 1e-9);
  EXPECT_TRUE(State(refId).position.isEqualTo(base));

  Answer({"@drag 0,1", "@pick 5,5"});
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, base, dAngle = 0), RTNORM);
  EXPECT_NEAR(dAngle, 180, 1e-9);  // on the axis, to the left
}

TEST_F(InsertTest, RotateTypedAngleWithErrorsZeroAndTheRightButton) {
  AcDbObjectId refId = NewRef();
  Answer({"@drag 0,5", "@type abc", "@type", "@type 0", "@type"});
  double dAngle = 0;
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d::kOrigin, dAngle), RTNORM);
  EXPECT_TRUE(Has(Out(), "\n输入错误！请确定插入角度：/<鼠标控制>")) << Out();
  EXPECT_DOUBLE_EQ(dAngle, 0);
  EXPECT_NEAR(State(refId).rotation, 0, 1e-12);  // back from the dragged 90

  Answer({"@type -45", "@rclick"});
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d::kOrigin, dAngle = 0), RTNORM);
  EXPECT_DOUBLE_EQ(dAngle, -45);
  EXPECT_NEAR(std::cos(State(refId).rotation), std::cos(-kPi / 4), 1e-12);
  EXPECT_NEAR(std::sin(State(refId).rotation), std::sin(-kPi / 4), 1e-12);

  Answer({"@type"});
  ASSERT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d::kOrigin, dAngle = 0), RTNORM);
  EXPECT_DOUBLE_EQ(dAngle, 0);

  Answer({"@drag 3,3", "@type 1", "^C"});
  EXPECT_EQ(CCommonUtils::rotateInsert(refId, AcGePoint3d::kOrigin, dAngle = 0), RTCAN);
  EXPECT_TRUE(refId.isErased());
}

}  // namespace
