// The texts the command shows the user, character for character.
#pragma once

inline constexpr const char16_t* kCursorAllHoles = u"전체구멍";
inline constexpr const char16_t* kCursorSpecificHoles = u"특정구멍";
inline constexpr const char16_t* kCursorHole = u"Hole";
inline constexpr const char16_t* kPromptBasePoint = u"기준점지시 (확정=설정창Open) :";
inline constexpr const char16_t* kPromptFirstPick = u"구멍형상 지시: ";
inline constexpr const char16_t* kPromptNextPick = u"구멍형상 지시(확정=선택종료) : ";
inline constexpr const char16_t* kPromptRange = u"범위지시(확정=도면전체) : ";
inline constexpr const char16_t* kPromptSecondCorner = u"2점지시 : ";
inline constexpr const char16_t* kPromptReview = u"범위지시(확정=선택종료) : ";
inline constexpr const char16_t* kPromptAllHoleRange = u"구멍형상 범위지시: ";
inline constexpr const char16_t* kErrorLongHole = u"장공은 선택할 수 없습니다.";
inline constexpr const char16_t* kErrorNoHoleSelected = u"선택한 구멍이 없습니다.";
inline constexpr const char16_t* kErrorNotSameHole = u"동일한 구멍을 선택해야 합니다.";
inline constexpr const char16_t* kErrorCancelled = u"취소하셨습니다.";
inline constexpr const char16_t* kErrorTooManyKinds = u"구멍 종류는 99개까지 선택할 수 있습니다.";
// The closing count: prefix, the number in decimal, suffix.
inline constexpr const char16_t* kBoxCountPrefix = u"총 ";
inline constexpr const char16_t* kBoxCountSuffix = u"개의 Hole 위치를 변경했습니다.";
