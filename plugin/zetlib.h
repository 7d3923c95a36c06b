// The host CAD library ZetLib as the plug-in sees it: records, codes, callback types and the
// 31 functions the command calls. This header is the only way the plug-in reaches the host;
// the records' byte layouts are fixed by the host and checked below.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#if defined(ZETLIB_BUILD)
#define ZETLIB_API __declspec(dllexport)
#else
#define ZETLIB_API __declspec(dllimport)
#endif
#else
#define ZETLIB_API __attribute__((visibility("default")))
#endif

extern "C" {

// A point in drawing units.
struct Point2 {
  double x;
  double y;
};

// Hole id given by the host; kNoHole means "not a hole the command may take".
using HoleId = std::uint32_t;
inline constexpr HoleId kNoHole = 0xFFFFFFFFu;

// One segment of one element: instance id, then segment id.
struct ElementRef {
  std::int32_t nInstanceId;
  std::int32_t nSegmentId;
};

// One entry of a range selection: segment id first, then instance id (the reverse of
// ElementRef). The host writes into a 24-byte buffer; the command reads the first 8 bytes.
struct SelectionEntry {
  std::int32_t nSegmentId;
  std::int32_t nInstanceId;
  std::uint8_t reserved[16];
};

// What the host may offer for picking: the element class (16: hole shapes) and the pick flags
// (2: one element at a time; 0x10000 also lights up the shape under the cursor).
struct ObjectFilter {
  std::int32_t nTarget;
  std::int32_t nPickFlags;
  std::int32_t nReserved1;
  std::int32_t nReserved2;
};

// Rubber-band echo while the second corner of a window is awaited (kind 2: rectangle).
struct EchoRecord {
  std::int32_t nKind;
  std::int32_t nUnset;
  Point2 ptAnchor;
};

// One item of a hole record; the fields are compared one to one between two holes.
struct HoleDataItem {
  std::int32_t nCode1;
  std::int32_t nCode2;
  double dValue1;
  std::uint8_t bNoValue2;
  std::uint8_t reserved17[7];
  double dValue2;
  std::uint8_t reserved32[16];
  std::int32_t nCode3;
  std::uint8_t reserved52[4];
  std::int32_t nCode4;
  char16_t szText[20];
  std::int32_t nCode5;
  double dValue3;
  double dValue4;
  std::int32_t nCode6;
  std::int32_t nCode7;
  std::uint8_t reserved128[96];
  std::int32_t nOption;
  std::int32_t nOptionValue;
  std::uint8_t reserved232[8];
};

// The hole record the host fills; pItems is host-allocated and released only through
// ZetHoleFreeHoleData.
struct HoleData {
  std::uint8_t reserved0[28];
  std::int32_t nUnsupported;
  std::uint8_t reserved32[52];
  std::int32_t nItemCount;
  HoleDataItem* pItems;
};

// One element of a segment's figure. Kind 2 carries a centre (circles and arcs).
struct FigureElement {
  std::int32_t nKind;
  std::int32_t nUnused;
  Point2 ptCenter;
  std::uint8_t reserved24[64];
};

// Event codes delivered to an execute callback.
inline constexpr std::int32_t EVENT_SELECTION = 0;
inline constexpr std::int32_t EVENT_ELEMENT = 2;
inline constexpr std::int32_t EVENT_POINT = 3;
inline constexpr std::int32_t EVENT_CONFIRM = 7;

// Event-mask bits. A confirmation arrives under every mask.
inline constexpr std::int32_t MASK_SELECTION = 0x20;
inline constexpr std::int32_t MASK_ELEMENT = 0x800;
inline constexpr std::int32_t MASK_POINT = 0x20000;

// Results of an execute callback.
inline constexpr std::int32_t STEP_FINISHED = 0;
inline constexpr std::int32_t STEP_NEXT = 2;
inline constexpr std::int32_t STEP_STAY = 3;

// Capacities the command hands the host.
inline constexpr std::int32_t kMaxHoleSegments = 20;
inline constexpr std::int32_t kMaxFigureElements = 100;

using ExecuteCallback = std::int32_t (*)(std::int32_t nEvent, std::uint64_t nEventData,
                                         std::uint64_t nValue3, std::uint64_t nValue4);
using ReadyCallback = std::int32_t (*)();
using StartCallback = std::int32_t (*)();
using SecondCallback = bool (*)(std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t);
using ThirdCallback = void (*)();

ZETLIB_API std::int32_t ZetCtlRegisterZetLib2(StartCallback pStart, SecondCallback pSecond,
                                              ThirdCallback pThird, std::uint64_t nOpaque);
ZETLIB_API void ZetCtlSetExecuteFunc(ExecuteCallback pExecute, const char16_t* szText);
ZETLIB_API void ZetCtlSetReadyFunc(ReadyCallback pReady, const char16_t* szText);

ZETLIB_API void ZetEvtSetEventMask(std::int32_t nMask);
ZETLIB_API void ZetEvtSetObject(const ObjectFilter* pFilter);
ZETLIB_API void ZetEvtSetEcho(const EchoRecord* pEcho);
ZETLIB_API std::int32_t ZetEvtGetPoint(std::int32_t nEvent, std::uint64_t nEventData,
                                       Point2* pPoint, std::uint64_t nValue4);
ZETLIB_API std::int32_t ZetEvtGetInstanceId(std::int32_t nEvent, std::uint64_t nEventData);
ZETLIB_API std::int32_t ZetEvtGetSegmentId(std::int32_t nEvent, std::uint64_t nEventData);
ZETLIB_API std::int32_t ZetEvtGetDetailId(std::int32_t nEvent, std::uint64_t nEventData);

ZETLIB_API void ZetIddClearSysIdData();
ZETLIB_API std::uint64_t ZetIddOpenSelIdData(std::int32_t nMode, std::uint64_t nEventData,
                                             std::uint64_t nValue3, std::uint64_t nValue4);
ZETLIB_API std::int32_t ZetIddGetHeadSelIdData(std::uint64_t hSelection, SelectionEntry* pEntry);
ZETLIB_API std::int32_t ZetIddGetNextSelIdData(std::uint64_t hSelection, SelectionEntry* pEntry);
ZETLIB_API void ZetIddCloseSelIdData(std::uint64_t hSelection);

ZETLIB_API void ZetIdClearBlink();
ZETLIB_API void ZetIdSetBlinkSegmentId(const ElementRef* pRef);
ZETLIB_API void ZetIdDoBlink();

ZETLIB_API void ZetMsgPutMessage(const char16_t* szText);
ZETLIB_API void ZetMsgPutCursorMessage(const char16_t* szText);
ZETLIB_API void ZetMsgPutErrorMessage(const char16_t* szText);
ZETLIB_API void ZetDlgMessageBox(const char16_t* szText);

ZETLIB_API HoleId ZetHolGetHoleId(const ElementRef* pRef);
ZETLIB_API std::int32_t ZetHolGetHoleData(HoleId nHoleId, HoleData* pData);
ZETLIB_API void ZetHoleFreeHoleData(HoleData* pData);
ZETLIB_API std::int32_t ZetHolGetHoleSegmentId(HoleId nHoleId, ElementRef* pRefs,
                                               std::int32_t nCapacity);
ZETLIB_API std::int32_t ZetHolSearchSameHole(HoleId nHoleId, HoleId** ppIds);
ZETLIB_API void ZetMemFree(void* p);

ZETLIB_API std::int32_t ZetFigGetFigure2(const ElementRef* pRef, FigureElement* pElements,
                                         std::int32_t nCapacity);
ZETLIB_API double ZetAriLen2Pnts(const Point2* pA, const Point2* pB);
ZETLIB_API std::int32_t ZetSgmMirrorSegment(std::int32_t nSegmentId, const Point2* pA,
                                            const Point2* pB, std::int32_t nZero, bool bOne);

}  // extern "C"

// The byte layouts the host and the plug-in share.
static_assert(sizeof(Point2) == 16 && offsetof(Point2, y) == 8);
static_assert(sizeof(ElementRef) == 8 && offsetof(ElementRef, nSegmentId) == 4);
static_assert(sizeof(SelectionEntry) == 24 && offsetof(SelectionEntry, nInstanceId) == 4);
static_assert(sizeof(ObjectFilter) == 16 && offsetof(ObjectFilter, nPickFlags) == 4 &&
              offsetof(ObjectFilter, nReserved1) == 8 && offsetof(ObjectFilter, nReserved2) == 12);
static_assert(sizeof(EchoRecord) == 24 && offsetof(EchoRecord, ptAnchor) == 8);
static_assert(sizeof(HoleDataItem) == 240);
static_assert(offsetof(HoleDataItem, nCode2) == 4 && offsetof(HoleDataItem, dValue1) == 8 &&
              offsetof(HoleDataItem, bNoValue2) == 16 && offsetof(HoleDataItem, dValue2) == 24 &&
              offsetof(HoleDataItem, nCode3) == 48 && offsetof(HoleDataItem, nCode4) == 56 &&
              offsetof(HoleDataItem, szText) == 60 && offsetof(HoleDataItem, nCode5) == 100 &&
              offsetof(HoleDataItem, dValue3) == 104 && offsetof(HoleDataItem, dValue4) == 112 &&
              offsetof(HoleDataItem, nCode6) == 120 && offsetof(HoleDataItem, nCode7) == 124 &&
              offsetof(HoleDataItem, nOption) == 224 &&
              offsetof(HoleDataItem, nOptionValue) == 228);
static_assert(sizeof(HoleData) == 96 && offsetof(HoleData, nUnsupported) == 28 &&
              offsetof(HoleData, nItemCount) == 84 && offsetof(HoleData, pItems) == 88);
static_assert(sizeof(FigureElement) == 88 && offsetof(FigureElement, ptCenter) == 8);
static_assert(sizeof(bool) == 1, "the host's one-byte boolean");
