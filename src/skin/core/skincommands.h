// How a skin record answers for its owner: the skin command message's
// sub-codes and the standard messages that keep hover, focus, glow and cache
// state in step. The owner (a control, a window adapter or a form provider)
// passes every message to HandleControlMessage before its own handling.
//
// Owners add their own answers to sub-codes through RegisterSkinCommand
// instead of growing the record's switch: a registered answer is asked
// first, for the records whose owner object is of its class.
#pragma once

#include <functional>

#include "framework/controls.h"
#include "skin/core/commondata.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

// An owner's answer to one sub-code for its record; true: handled, the
// owner must not pass the message on (as HandleSkinCommand).
using TSkinCommandAnswer = std::function<bool(TMessage& m, TsCommonData& data)>;

// The answer of owners of `ownerClass` (and of its descendants) to the
// sub-code; one answer per class and sub-code, a second replaces the first.
// Of several classes an owner descends from, the nearest one answers.
void RegisterSkinCommand(int subCode, const TClassInfo& ownerClass, TSkinCommandAnswer answer);
void UnregisterSkinCommand(int subCode, const TClassInfo& ownerClass);

// The record's answers to the skin command message (true: handled, the
// owner must not pass the message on).
bool HandleSkinCommand(TMessage& m, TsCommonData* data);
// Every message of a skinned owner, before its own handling.
bool HandleControlMessage(TMessage& m, TsCommonData* data);

}  // namespace kova::skin
