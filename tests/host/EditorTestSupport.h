// A fixture that answers the editor's questions from an in-memory script and captures
// everything it prints.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "host/editor/Editor.h"
#include "host/editor/InputSource.h"

class EditorSession : public ::testing::Test {
protected:
    void answers(std::string_view script)
    {
        fendo::editor::editor().reset();
        fendo::editor::editor().setInput(fendo::editor::ScriptInput::fromString(script));
        fendo::editor::editor().captureOutput(&output);
    }
    void TearDown() override { fendo::editor::editor().reset(); }

    std::string output;
};
