// The fixture of the command tests: script lines run on the recording
// platform as the section runner runs them, with SRCDIR and DSTDIR set.
#pragma once
#include "dialogs/ask.h"
#include "platform/recording/recording.h"
#include "script/commands.h"
#include "script/parse.h"
#include "script/runstate.h"
#include "script/store.h"
#include <gtest/gtest.h>
#include <string>

class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recording::reset();
        resetRunState();
        resetAnswers();
        clearVariableStore();
        SetVariable("SRCDIR", "C:\\src");
        SetVariable("DSTDIR", "C:\\dst");
        recording::addDir("C:\\src");
        recording::addDir("C:\\dst");
    }
    void TearDown() override { clearVariableStore(); }
    // Parses and runs one script line as the section runner does.
    void line(const std::string& text) {
        std::string copy = text + "\n";
        ParsedLine parsed;
        parseScriptLine(&copy[0], &parsed);
        ASSERT_FALSE(parsed.unknown) << text;
        ExecuteCommand(nullptr, parsed.value[0], parsed.value[1], parsed.token[0], parsed.token[1], parsed.code,
                       parsed.bare[0], parsed.bare[1]);
    }
    std::string var(const char* name) {
        const char* v = GetVariable(name);
        return v ? v : "<none>";
    }
    // run flags as "failure stopSection stopAll reboot"
    std::string flags() {
        return std::to_string(run.failure) + std::to_string(run.stopSection) + std::to_string(run.stopAll) +
               std::to_string(run.rebootRequested);
    }
};
