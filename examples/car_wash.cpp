// A car wash as a program with Zorva's main window: what a model does
// beyond the M/M/1 example — the trace, run control, figures and problems,
// lookahead and shapes in the animation. Built as part of the build; the
// guide (docs/guide.md) quotes its marked regions.

#include <zorva/animation/animation_scene.h>
#include <zorva/animation/mesh_builder.h>
#include <zorva/connection/messaging.h>
#include <zorva/kernel/kernel.h>
#include <zorva/ui/model_window.h>
#include <zorva/ui/program_startup.h>

#include <string>

using namespace zorva;

namespace {

ZorvaQueue* Line = nullptr;
TUniformDistribution Arrivals(2024, 2.0, 6.0);
TUniformDistribution Washes(77, 3.0, 5.0);

// [guide:trace]
class TCar : public ZorvaElement {
public:
    explicit TCar(const std::string& name) : ZorvaElement(this, name) {}
    void Process() override {
        (new TCar("Car"))->Start(SimTime() + Arrivals.Sample());
        if (Line->Length >= 4) {
            // Always written, whatever the Trace switch says.
            WriteTrace("drives on: the line is too long");
            CountFigure("cars turned away");
            FinishAndDestroy();
        }
        EnterQueue(*Line);  // traced while the trace is on
        while (Line->FirstElement() != this) Passivate();
        Hold(Washes.Sample());
        LeaveQueue(*Line);
        CountFigure("cars washed");
        if (ZorvaElement* next = Line->FirstElement()) next->Resume(SimTime());
        FinishAndDestroy();
    }
};
// [end]

// [guide:animation]
// One box per car in the line, shown while that place is taken.
void ShowLine(TAnimationScene& scene) {
    TMesh car;
    AddBox(car, {0.0f, 0.5f, 0.0f}, {2.0f, 1.0f, 1.0f});
    TAnimationGroup& line = scene.AddGroup({0.0f, 0.0f, 0.0f});
    std::vector<TGroupMember*> places;
    for (int place = 0; place < 4; ++place) {
        TGroupMember& member = line.AddMember({3.0f * static_cast<float>(place), 0.0f, 0.0f});
        member.AddShape(car, RGBColor(200, 40, 40), TRenderMode::rmSolidShade);
        places.push_back(&member);
    }
    // Before every frame: the model's state decides what is seen.
    scene.SetUpdater([places](double /*time*/) {
        for (std::size_t place = 0; place < places.size(); ++place) places[place]->SetVisible(place < Line->Length);
    });
}
// [end]

// [guide:run-control]
void InitCarWash() {
    Line = new ZorvaQueue("Line");
    DeclareFigure("cars washed");
    DeclareFigure("cars turned away");
    SetTrace(true);
    // A working day, unless --stop-time says otherwise.
    SetStopTime(480.0);
    (new TCar("Car"))->Start(0.0);
    ShowLine(AnimationScene());
}
// [end]

}  // namespace

// [guide:main]
int main(int argc, char** argv) {
    return RunZorvaProgram(argc, argv, InitCarWash);
}
// [end]
