// What an object looks like: its image and its animation.
#include <array>

#include "app/text_names.h"
#include "vivarium/interpreter.h"
#include "vivarium/word_table.h"

namespace vek::vivarium::words {

// Named for the batches of the build, in which every file's private names meet.
namespace appearance_words {
namespace {

using I = Interpreter;
using Ins = Instruction;

// Whether a pose (counted from the object's base) is one of its images.
bool hasImage(const Object& object, long long pose) {
    const long long image = object.base + pose;
    return image >= 0 && image < object.imageCount;
}

void pose(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    const int number = in.argument(ins, 0);
    if (!hasImage(object, number)) {
        in.fault(ins, fill(Msg::VivariumPoseBeyond,
                           {std::to_string(number), std::to_string(object.imageCount)}));
    }
    object.pose = number;
    object.animation.running = false;
}

void base(I& in, const Ins& ins) { in.target(ins).base = in.argument(ins, 0); }

void anim(I& in, const Ins& ins) {
    Object& object = in.target(ins);
    Animation animation;
    for (const char c : ins.text) {
        if (c >= '0' && c <= '9') {
            if (!hasImage(object, c - '0')) {
                in.fault(ins, fill(Msg::VivariumFrameBeyond,
                                   {std::string(1, c), std::to_string(object.imageCount)}));
            }
            animation.frames.push_back(c);
        } else if (c == 'R' || c == 'r') {
            animation.repeats = true;
        }
    }
    animation.running = !animation.frames.empty();
    if (animation.running) object.pose = animation.frames.front() - '0';
    object.animation = std::move(animation);
}

void over(I& in, const Ins& ins) {
    if (in.target(ins).animation.running) in.run().animationWatched = in.run().target;
}

int readPose(I& in, const Operand& operand) { return in.target(operand).pose; }

constexpr auto kCommands = std::to_array<CommandWord>({
    {"pose", pose},
    {"base", base},
    {"anim", anim},
    {"over", over},
});

constexpr auto kValues = std::to_array<ValueWord>({
    {"pose", readPose},
});

}  // namespace
}  // namespace appearance_words

WordGroup appearance() { return {appearance_words::kCommands, appearance_words::kValues}; }

}  // namespace vek::vivarium::words
