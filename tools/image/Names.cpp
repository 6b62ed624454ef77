// SPDX-License-Identifier: MIT
// Tables of symbolic operand names and the depth-star spelling of method names.
#include "image/Names.h"

#include "VirtualMachine/VMHeap.h"

namespace zelmo::image {

const std::vector<NamedNumber>& extensions()
{
    static const std::vector<NamedNumber> table = {
        {"Accelerometer", 20}, {"Location", 27}, {"AudioPlayer", 28},
        {"Torch", 36},         {"Desktop", 37},  {"OpenGL", 38},
    };
    return table;
}

const std::vector<NamedNumber>& gcCodes()
{
    static const std::vector<NamedNumber> table = {
        {"CLASS_OBJECT", GC_CODE_CLASS_OBJECT},
        {"NATIVE", GC_CODE_NATIVE},
        {"STRING", GC_CODE_STRING},
        {"FONT", GC_CODE_FONT},
        {"PRIMITIVE_ARRAY", GC_CODE_PRIMITIVE_ARRAY},
        {"OBJECT_ARRAY", GC_CODE_OBJECT_ARRAY},
        {"VECTOR", GC_CODE_VECTOR},
        {"STREAM_HOLDER", GC_CODE_STREAM_HOLDER},
        {"REFERENCE", GC_CODE_REFERENCE},
        {"DATE_TIME", GC_CODE_DATE_TIME},
        {"PAIR", GC_CODE_PAIR},
        {"HASH", GC_CODE_HASH},
    };
    return table;
}

std::optional<int> numberForName(const std::vector<NamedNumber>& table, std::string_view name)
{
    for (const NamedNumber& n : table)
        if (name == n.name) return n.number;
    return std::nullopt;
}

const char* nameForNumber(const std::vector<NamedNumber>& table, int number)
{
    for (const NamedNumber& n : table)
        if (n.number == number) return n.name;
    return nullptr;
}

// Default depths are those the runtime's senders pass, so that no conversion happens on entry:
// the application object and listeners arrive as references (1), events and numbers as values.
const std::vector<FixedSignature>& fixedSignatures()
{
    static const std::vector<FixedSignature> table = {
        {"init", "::global::init", {}},
        {"main", "main", {}},
        {"timerevent", "<systemtimerlistener>.systemtimerevent", {1}},
        {"draw", "<application>.draw to<canvas>", {1, 0}},
        {"keypressed", "<application>.key pressed<keyevent>", {1, 0}},
        {"keyreleased", "<application>.key released<keyevent>", {1, 0}},
        {"pointerevent",
         "<application>.pointer event<int>at x<int>y<int>modifiers<int>",
         {1, 0, 0, 0, 0}},
        {"pointerpressed", "<application>.pointer pressed at<position>", {1, 0}},
        {"pointerdragged", "<application>.pointer dragged to<position>", {1, 0}},
        {"pointerreleased", "<application>.pointer released at<position>", {1, 0}},
        {"exitevent", "<application>.exit event", {1}},
        {"foreground", "<application>.foreground event", {1}},
        {"background", "<application>.background event", {1}},
        {"orientation",
         "<screenorientationlistener>.screen orientation changed to<orientation>",
         {1, 0}},
        {"internalthrow", "vminternalthrow<int>,<string>", {0, 1}},
        {"printthrowable", "vmprintthrowable<throwable>", {1}},
        {"printthrowableandexit", "vmprintthrowableandexit<throwable>", {1}},
        {"drawgl", "<openglapplication>.draw gl", {1}},
    };
    return table;
}

const FixedSignature* fixedSignature(std::string_view alias)
{
    for (const FixedSignature& s : fixedSignatures())
        if (alias == s.alias) return &s;
    return nullptr;
}

namespace {

bool isDepthPosition(std::string_view text, size_t i)
{
    return text[i] == '<' || (i == 0 && text[i] == '(');
}

} // namespace

int depthPositions(std::string_view signature)
{
    int n = 0;
    for (size_t i = 0; i < signature.size(); ++i)
        n += isDepthPosition(signature, i) ? 1 : 0;
    return n;
}

std::string applyDepths(std::string_view signature, const std::vector<int>& depths)
{
    std::string name;
    size_t position = 0;
    for (size_t i = 0; i < signature.size(); ++i) {
        name += signature[i];
        if (isDepthPosition(signature, i)) {
            if (position < depths.size()) name.append(static_cast<size_t>(depths[position]), '*');
            ++position;
        }
    }
    return name;
}

void splitDepths(std::string_view name, std::string& signature, std::vector<int>& depths)
{
    signature.clear();
    depths.clear();
    for (size_t i = 0; i < name.size(); ++i) {
        signature += name[i];
        if (isDepthPosition(name, i)) {
            int stars = 0;
            while (i + 1 < name.size() && name[i + 1] == '*') {
                ++stars;
                ++i;
            }
            depths.push_back(stars);
        }
    }
}

} // namespace zelmo::image
