// The window system under load, on the headless backend: full repaints,
// resizes and create/destroy of forms with 50, 200, 800 and 1,600 child
// controls, side by side as siblings and nested in panels. The cost must
// follow the number of controls: the table prints the cost per control at
// each size and its ratio to the cost at 50 (rounds interleaved, medians of
// this thread's CPU time). BENCH_UI_SCALE=k multiplies the sizes by k.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/Headless.h"
#include "BenchStats.h"

namespace {

class TCell : public TCustomControl {
public:
    explicit TCell(TComponent* owner, bool container = false) : TCustomControl(owner)
    {
        if (container) ControlStyle().Include(csAcceptsControls);
    }

protected:
    void PaintWindow(HDC DC) override
    {
        TRect r = ClientRect();
        HBRUSH b = CreateSolidBrush(RGB(Byte(Left()), Byte(Top()), 128));
        FillRect(DC, &r, b);
        DeleteObject(b);
    }
};

constexpr int kCols = 40, kCellW = 40, kCellH = 20;

// n cells side by side, 40 to a row, those of the last column anchored to
// the right edge (they move when the form widens).
TForm* BuildFlat(int n)
{
    auto* f = new TForm(Application);
    f->SetBorderStyle(bsSizeable);
    int rows = (n + kCols - 1) / kCols;
    f->SetBounds(0, 0, kCols * kCellW + 40, rows * kCellH + 60);
    for (int i = 0; i < n; ++i) {
        auto* c = new TCell(f);
        c->SetParent(f);
        c->SetBounds((i % kCols) * kCellW + 1, (i / kCols) * kCellH + 1, kCellW - 2, kCellH - 2);
        if (i % kCols == kCols - 1) c->SetAnchors(TAnchors{akRight, akTop});
    }
    f->Init();
    return f;
}

// n controls in all: panels of 8 (the panel and 7 cells in it), 5 panels to
// a row; the last cell of each panel is anchored to the panel's right edge.
TForm* BuildNested(int n)
{
    constexpr int kPer = 8, kPanelCols = 5, kPanelW = 7 * kCellW + 8, kPanelH = kCellH + 8;
    auto* f = new TForm(Application);
    f->SetBorderStyle(bsSizeable);
    int panels = (n + kPer - 1) / kPer;
    int rows = (panels + kPanelCols - 1) / kPanelCols;
    f->SetBounds(0, 0, kPanelCols * kPanelW + 40, rows * kPanelH + 60);
    int made = 0;
    for (int p = 0; p < panels && made < n; ++p) {
        auto* panel = new TCell(f, true);
        panel->SetParent(f);
        panel->SetBounds((p % kPanelCols) * kPanelW, (p / kPanelCols) * kPanelH, kPanelW - 2, kPanelH - 2);
        ++made;
        for (int k = 0; k < kPer - 1 && made < n; ++k, ++made) {
            auto* c = new TCell(f);
            c->SetParent(panel);
            c->SetBounds(k * kCellW + 3, 3, kCellW - 2, kCellH - 2);
            if (k == kPer - 2) c->SetAnchors(TAnchors{akRight, akTop});
        }
    }
    f->Init();
    return f;
}

int CountWindows(HWND h)
{
    int n = 0;
    if (TWnd* w = WndOf(h))
        for (HWND c : w->children) n += 1 + CountWindows(c);
    return n;
}

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Seconds of this thread's CPU time for `reps` runs of `op` (steadier than
// the wall clock on a busy machine; the work is all on this thread).
double Time(int reps, const std::function<void()>& op)
{
    double t0 = ThreadSeconds();
    for (int i = 0; i < reps; ++i) op();
    return ThreadSeconds() - t0;
}

void FullRepaint(TForm* f)
{
    RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

struct TCase {
    const char* Layout;
    TForm* (*Build)(int);
};

// --only=paint|resize|life: that measurement alone; --layout=siblings|nested
// that layout alone (for profiling).
std::string gOnly, gLayout;

void RunTable(THeadlessDriver& driver, int rounds)
{
    int sizes[] = {50, 200, 800, 1600};
    if (const char* e = std::getenv("BENCH_UI_SCALE"))  // e.g. 4: 200 to 6,400 (to tell cache effects from work)
        for (int& n : sizes) n *= std::max(1, std::atoi(e));
    const TCase cases[] = {{"siblings", BuildFlat}, {"nested", BuildNested}};
    std::printf("%-9s %-8s %6s %14s %14s %16s\n", "layout", "controls", "", "repaint us/ctl", "resize us/ctl",
                "create+destroy");
    for (const TCase& cs : cases) {
        if (!gLayout.empty() && gLayout != cs.Layout) continue;
        constexpr int kSizes = 4;
        std::vector<TForm*> forms;
        int count[kSizes];
        for (int k = 0; k < kSizes; ++k) {
            TForm* f = cs.Build(sizes[k]);
            f->Show();
            driver.Pump();
            count[k] = CountWindows(f->Handle());
            forms.push_back(f);
        }
        std::vector<double> paint[kSizes], resize[kSizes], life[kSizes];
        bool wide = false;
        for (int r = 0; r < rounds; ++r) {
            wide = !wide;
            for (int k = 0; k < kSizes; ++k) {
                TForm* f = forms[size_t(k)];
                int n = count[k];
                // About 40,000 controls a sample at every size.
                int reps = std::max(1, 40000 / n);
                paint[k].push_back(gOnly.empty() || gOnly == "paint" ? Time(reps, [&] { FullRepaint(f); }) / reps / n * 1e6 : 0);
                int w = f->Width(), h = f->Height();
                resize[k].push_back(!gOnly.empty() && gOnly != "resize" ? 0 : Time(reps / 2 + 1,
                                         [&] {
                                             f->SetBounds(0, 0, w + 30, h + 10);
                                             driver.Pump();
                                             f->SetBounds(0, 0, w, h);
                                             driver.Pump();
                                         }) /
                                    (reps / 2 + 1) / 2 / n * 1e6);
                int lifeReps = std::max(1, reps / 4);
                life[k].push_back(!gOnly.empty() && gOnly != "life" ? 0 : Time(lifeReps,
                                       [&] {
                                           TForm* g = cs.Build(sizes[k]);
                                           g->Show();
                                           driver.Pump();
                                           delete g;
                                       }) /
                                  lifeReps / n * 1e6);
            }
        }
        double base[3] = {Median(paint[0]), Median(resize[0]), Median(life[0])};
        for (int k = 0; k < kSizes; ++k) {
            double p = Median(paint[k]), z = Median(resize[k]), l = Median(life[k]);
            std::printf("%-9s %-8d %6s %8.2f (%4.2fx) %8.2f (%4.2fx) %9.2f (%4.2fx)\n", cs.Layout, count[k], "", p,
                        p / base[0], z, z / base[1], l, l / base[2]);
        }
        std::printf("%-9s repaint per control 1600/50: %.2fx (goal <= 1.30x)\n", cs.Layout, Median(paint[3]) / base[0]);
        for (TForm* f : forms) delete f;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 9;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--rounds=", 9) == 0) rounds = std::max(1, std::atoi(argv[i] + 9));
        else if (std::strncmp(argv[i], "--only=", 7) == 0) gOnly = argv[i] + 7;
        else if (std::strncmp(argv[i], "--layout=", 9) == 0) gLayout = argv[i] + 9;
    THeadlessDriver driver;
    InitForms();
    RunTable(driver, rounds);
    DoneForms();
    return 0;
}
