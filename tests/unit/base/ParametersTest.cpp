#include "base/Parameters.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string cell(char* (*fn)(char*, InternalParameter*, int), InternalParameter* ip) {
    char buffer[128];
    char* end = fn(buffer, ip, 0);
    return std::string(buffer, end);
}

TEST(Parameters, RedeclaringKeepsTheRecordAndItsPointer) {
    InternalParameter* first = addInternalParameter("p_redeclare", "5", 'i', 0);
    auto* value = static_cast<int*>(getIntParPointer("p_redeclare"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, 5);
    EXPECT_EQ(addInternalParameter("p_redeclare", "9", 'i', 0), first);
    EXPECT_EQ(*value, 9);
}

TEST(Parameters, SwitchTextsOnlyOnAndOffCount) {
    addInternalParameter("p_switch_texts", "ON", 't', 0);
    auto* value = static_cast<int*>(getIntParPointer("p_switch_texts"));
    EXPECT_EQ(*value, 1);
    addInternalParameter("p_switch_texts", "on", 't', 0);
    EXPECT_EQ(*value, 1);
    addInternalParameter("p_switch_texts", "OFF", 't', 0);
    EXPECT_EQ(*value, 0);
}

TEST(Parameters, SavedSwitchTakesItsSavedTextOnlyFromGetIntParDefaults) {
    setDefault("p_saved_switch", "ON");
    addInternalParameter("p_saved_switch", "OFF", 't', 1);
    auto* value = static_cast<int*>(getIntParPointer("p_saved_switch"));
    EXPECT_EQ(*value, 0);
    EXPECT_STREQ(getDefaultValue("p_saved_switch"), "ON");
    getIntParDefaults();
    EXPECT_EQ(*value, 1);
}

TEST(Parameters, SavedIntegerWithoutEntryMakesOne) {
    addInternalParameter("p_saved_int", "42", 'i', 1);
    EXPECT_STREQ(getDefaultValue("p_saved_int"), "42");
    EXPECT_EQ(*static_cast<int*>(getIntParPointer("p_saved_int")), 42);
}

// What each action saw of the saved text when it ran.
std::string seenByIntegerAction;
void integerAction() {
    seenByIntegerAction = getDefaultValue("p_order_int");
}
std::string seenBySwitchAction;
void switchAction() {
    seenBySwitchAction = getDefaultValue("p_order_switch");
}

TEST(Parameters, IntegerTextIsUpdatedBeforeItsAction) {
    addInternalParameter("p_order_int", "1", 'i', 1);
    addDefaultAction("p_order_int", integerAction);
    setIntPar("p_order_int", -37);
    EXPECT_EQ(seenByIntegerAction, "-37");
    EXPECT_STREQ(getDefaultValue("p_order_int"), "-37");
    EXPECT_EQ(*static_cast<int*>(getIntParPointer("p_order_int")), -37);
}

TEST(Parameters, SwitchActionRunsBeforeItsText) {
    addInternalParameter("p_order_switch", "OFF", 't', 1);
    addDefaultAction("p_order_switch", switchAction);
    setIntPar("p_order_switch", 1);
    EXPECT_EQ(seenBySwitchAction, "OFF");
    EXPECT_STREQ(getDefaultValue("p_order_switch"), "ON");
}

int actionRuns = 0;
void countAction() {
    ++actionRuns;
}

TEST(Parameters, SwitchSetToTwoKeepsItsSavedText) {
    addInternalParameter("p_switch_two", "ON", 't', 1);
    addDefaultAction("p_switch_two", countAction);
    actionRuns = 0;
    setIntPar("p_switch_two", 2);
    EXPECT_EQ(*static_cast<int*>(getIntParPointer("p_switch_two")), 2);
    EXPECT_EQ(actionRuns, 1);
    EXPECT_STREQ(getDefaultValue("p_switch_two"), "ON");
}

TEST(Parameters, StringParametersLiveInTheDefaults) {
    testing::internal::CaptureStderr();
    addInternalParameter("p_string_unsaved", "text", 's', 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "String parameter must be in defaults data base\n");
    EXPECT_STREQ(static_cast<char*>(getIntParPointer("p_string_unsaved")), "text");

    addInternalParameter("p_string", "short", 's', 1);
    setDefault("p_string", "a considerably longer text");
    EXPECT_STREQ(static_cast<char*>(getIntParPointer("p_string")), "a considerably longer text");
}

TEST(Parameters, UnknownNamesAndWrongTypesAreReported) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(getIntParPointer("p_nowhere"), nullptr);
    setIntPar("p_nowhere", 1);
    addDefaultAction("p_nowhere", countAction);
    addInternalParameter("p_string_set", "x", 's', 1);
    setIntPar("p_string_set", 3);
    addInternalParameter("p_bad_type", "x", 'q', 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Parameter p_nowhere not found\n"
              "Parameter p_nowhere not found\n"
              "Parameter p_nowhere not found\n"
              "Invalid parameter type for parameter p_string_set\n"
              "Invalid parametertype\n");
    EXPECT_STREQ(getDefaultValue("p_string_set"), "x");
    EXPECT_EQ(findInternalParameter("p_nowhere"), nullptr);
}

TEST(Parameters, NewestParameterComesFirst) {
    addInternalParameter("p_older", "1", 'i', 0);
    InternalParameter* newer = addInternalParameter("p_newer", "2", 'i', 0);
    EXPECT_EQ(FirstParameter(), newer);
    EXPECT_STREQ(nextParameter(newer)->name, "p_older");
    InternalParameter* bare = getInternalParameter("p_bare");
    EXPECT_EQ(bare->value, 0);
    EXPECT_EQ(bare->DF, nullptr);
    EXPECT_EQ(getInternalParameter("p_bare"), bare);
}

TEST(Parameters, ResetForgetsEveryParameterAndGivesItsMemoryBack) {
    testsupport::resetBaseState();
    addInternalParameter("p_reset_switch", "ON", 't', 0);
    addInternalParameter("p_reset_number", "4", 'i', 1);
    addDefaultAction("p_reset_number", countAction);
    ASSERT_GT(testsupport::allocatedTo("Parameters"), 0u);

    resetParameterState();
    EXPECT_EQ(testsupport::allocatedTo("Parameters"), 0u);
    EXPECT_EQ(FirstParameter(), nullptr);
    EXPECT_EQ(findInternalParameter("p_reset_switch"), nullptr);
    // Declared again, a parameter is new: no action, and its value from the new text.
    InternalParameter* again = addInternalParameter("p_reset_number", "9", 'i', 0);
    EXPECT_EQ(again->value, 9);
    EXPECT_EQ(again->default_action, nullptr);
    testsupport::resetBaseState();
}

TEST(Parameters, StatusCellsShowTheSavedText) {
    InternalParameter* saved = addInternalParameter("p_cells_saved", "OFF", 't', 1);
    *static_cast<int*>(getIntParPointer("p_cells_saved")) = 1; // a direct write
    EXPECT_EQ(cell(getParameterNameString, saved), "p_cells_saved ");
    EXPECT_EQ(cell(getParameterValueString, saved), "OFF");
    EXPECT_EQ(cell(getParameterDefaultString, saved), "(*)");

    InternalParameter* plain = addInternalParameter("p_cells_plain", "ON", 't', 0);
    EXPECT_EQ(cell(getParameterValueString, plain), "ON");
    set_switch(plain, 5);
    EXPECT_EQ(cell(getParameterValueString, plain), "Undefined");
    EXPECT_EQ(cell(getParameterDefaultString, plain), "");
    InternalParameter* number = addInternalParameter("p_cells_int", "-8", 'i', 0);
    EXPECT_EQ(cell(getParameterValueString, number), "-8");
    set_value(number, 12);
    EXPECT_EQ(cell(getParameterValueString, number), "12");
}

} // namespace
