#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "bus.h"
#include "document_model.h"
#include "ee_element.h"
#include "element_key.h"
#include "recording_view.h"

namespace {

using Op = RecordingView::Op;

constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyDelete = 46;

// A model of the program's elements edited through its events as the view
// sends them, with the view and the application's clipboard it lends.
class Session {
public:
    Session() {
        model->SetView(&view);
        model->SetClipboard(&clipboard);
        model->SetDiagramSize({2000, 1000});
    }
    ~Session() { model->SetClipboard(nullptr); }

    bool Event(int event, int tool, Point at = {}, int flags = 0) {
        return model->HandleEditEvent(event, tool, flags, &at, &view);
    }
    bool Click(int tool, Point at, int flags = MouseFlag::LeftButton) {
        return Event(EditEvent::ButtonDown, tool, at, flags);
    }
    bool Pick(Point at) { return Click(EditTool::Selection, at); }
    bool ShiftPick(Point at) { return Click(EditTool::Selection, at, MouseFlag::LeftButton | MouseFlag::Shift); }
    bool Key(int key, int count = 0) { return Event(EditEvent::Key, EditTool::Selection, {count, 0}, key); }

    // A bus bar placed by its tool: vertical from `at` 40 units down.
    Bus& PlaceBus(Point at) {
        EXPECT_TRUE(Click(ElementType::Bus, at));
        return static_cast<Bus&>(*model->GetCurrentElement());
    }
    // A line drawn by its tool from one point to another, on bars there.
    IElement& DrawLine(Point from, Point to, int tool = ElementType::PowerLine) {
        Click(tool, from);
        IElement& line = *model->GetCurrentElement();
        Event(EditEvent::MouseMove, tool, to);
        Click(tool, to);
        return line;
    }
    IElement& PlaceOnePort(int tool, Point at) {
        EXPECT_TRUE(Click(tool, at));
        return *model->GetCurrentElement();
    }

    int CountIn(PowerSystem::ListId id) const { return model->List(id).GetCount(); }
    std::vector<int> SelectedKeys() const {
        std::vector<int> keys;
        for (const auto& [key, element] : model->GetSelection().Entries()) keys.push_back(key);
        return keys;
    }
    std::vector<RecordingView::Call> MessagesOf(int message) const {
        std::vector<RecordingView::Call> found;
        for (const auto& call : view.Messages()) {
            if (call.message == message) found.push_back(call);
        }
        return found;
    }
    bool ViewDid(Op op) const {
        return std::any_of(view.calls.begin(), view.calls.end(), [op](const auto& call) { return call.op == op; });
    }

    // What holds after any script: the selected flags agree with the
    // selection list, and every connection names an element of the model.
    void ExpectConsistent() const {
        for (int id = 0; id < PowerSystem::kListCount; ++id) {
            for (const auto& [key, element] : model->List(PowerSystem::ListId(id)).Entries()) {
                EXPECT_EQ(element->IsAnySelected(), model->IsSelected(key)) << element->GetName();
                for (int end : element->GetEndKeys()) {
                    if (end != 0 && end != -1) {
                        EXPECT_NE(model->FindByKey(end), nullptr) << element->GetName();
                    }
                }
                if (auto* bus = dynamic_cast<Bus*>(element)) {
                    for (int attached : bus->GetKeyList()) EXPECT_NE(model->FindByKey(attached), nullptr);
                }
            }
        }
        for (const auto& [key, element] : model->GetSelection().Entries()) {
            EXPECT_EQ(model->FindByKey(key), element);
        }
    }

    RecordingView view;
    ElementList clipboard;
    DocumentModel model;
};

bool HoldsKey(const Bus& bus, int key) {
    const auto& keys = bus.GetKeyList();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

Rect BodyOf(const IElement& element) {
    Rect r = element.GetBoundingRect();
    r.Normalize();
    return r;
}

// Two bars joined by a line, a load on the first and a third bar on a
// second line: A at x 100, B at x 300, C at x 500, each from y 100 to 140.
struct SmallNetwork {
    explicit SmallNetwork(Session& s)
        : a(s.PlaceBus({100, 100})),
          b(s.PlaceBus({300, 100})),
          c(s.PlaceBus({500, 100})),
          ab(s.DrawLine({100, 120}, {300, 120})),
          bc(s.DrawLine({300, 130}, {500, 130})),
          load(s.PlaceOnePort(ElementType::Load, {105, 135})) {
        s.Event(EditEvent::ClearSelection, EditTool::Selection);
        s.view.calls.clear();
    }
    Bus& a;
    Bus& b;
    Bus& c;
    IElement& ab;
    IElement& bc;
    IElement& load;
};

// The scripted scenarios: each runs edit events through the recording view
// and checks the model's lists and keys afterwards.
struct Scenario {
    const char* name;
    std::function<void(Session&)> run;
};

const Scenario kScenarios[] = {
    {"every tool places its element kind",
     [](Session& s) {
         struct Placed {
             int tool;
             PowerSystem::ListId list;
             int category;
             int classType;
             bool nodeByNode;
         };
         const Placed kinds[] = {
             {ElementType::Bus, PowerSystem::kBuses, Category::Bus, ElementType::Bus, false},
             {ElementType::HorizontalBus, PowerSystem::kBuses, Category::Bus, ElementType::HorizontalBus, false},
             {ElementType::NetworkEquivalent, PowerSystem::kBuses, Category::Bus, ElementType::NetworkEquivalent, false},
             {ElementType::ConnectionNode, PowerSystem::kBuses, Category::Bus, ElementType::ConnectionNode, false},
             {ElementType::Load, PowerSystem::kLoads, Category::Load, ElementType::Load, false},
             {ElementType::Generator, PowerSystem::kGenerators, Category::Generator, ElementType::Generator, false},
             {ElementType::SyncCompensator, PowerSystem::kSyncCompensators, Category::SyncCompensator,
              ElementType::SyncCompensator, false},
             {ElementType::VarCompensator, PowerSystem::kVarCompensators, Category::VarCompensator,
              ElementType::VarCompensator, false},
             {ElementType::Shunt, PowerSystem::kShunts, Category::Shunt, ElementType::Shunt, false},
             {ElementType::Capacitor, PowerSystem::kCapacitors, Category::Capacitor, ElementType::Capacitor, false},
             {ElementType::Reactor, PowerSystem::kReactors, Category::Reactor, ElementType::Reactor, false},
             {ElementType::FreeText, PowerSystem::kFreeTexts, Category::FreeText, ElementType::FreeText, false},
             {ElementType::VariableBank, PowerSystem::kVariableBanks, Category::CapacitorBank,
              ElementType::VariableBank, false},
             {ElementType::VariableReactorBank, PowerSystem::kVariableBanks, Category::ReactorBank,
              ElementType::VariableReactorBank, false},
             {ElementType::SystemInfo, PowerSystem::kSystemInfos, Category::SystemInfo, ElementType::SystemInfo,
              false},
             {ElementType::PowerLine, PowerSystem::kLines, Category::Line, ElementType::PowerLine, true},
             {ElementType::Transformer, PowerSystem::kLines, Category::Line, ElementType::Transformer, true},
             {ElementType::RegulatedTransformer, PowerSystem::kLines, Category::Line,
              ElementType::RegulatedTransformer, true},
             {ElementType::FreeLine, PowerSystem::kFreeLines, Category::FreeLine, ElementType::FreeLine, true},
             {ElementType::Connector, PowerSystem::kConnectors, Category::Connector, ElementType::Connector, true},
             {ElementType::Disconnector, PowerSystem::kConnectors, Category::Connector, ElementType::Disconnector,
              true},
             {ElementType::CircuitBreaker, PowerSystem::kConnectors, Category::Connector,
              ElementType::CircuitBreaker, true},
             {ElementType::Fuse, PowerSystem::kConnectors, Category::Connector, ElementType::Fuse, true},
             {ElementType::PolygonElement, PowerSystem::kPolygons, Category::Polygon, ElementType::PolygonElement,
              true},
             {ElementType::ArrowedFreeLine, PowerSystem::kFreeLines, Category::FreeLine, ElementType::FreeLine, true},
         };
         int x = 100;
         for (const Placed& kind : kinds) {
             SCOPED_TRACE(kind.tool);
             s.view.calls.clear();
             int before = s.CountIn(kind.list);
             EXPECT_TRUE(s.Click(kind.tool, {x += 60, 300}));
             IElement* made = s.model->GetCurrentElement();
             ASSERT_NE(made, nullptr);
             EXPECT_EQ(s.CountIn(kind.list), before + 1);
             EXPECT_EQ(s.model->List(kind.list).Find(made->GetKey()), made);
             EXPECT_EQ(KeyCategory(made->GetKey()), kind.category);
             EXPECT_EQ(made->GetElementType(), kind.classType);
             EXPECT_EQ(s.model->GetToolState(), kind.nodeByNode ? PowerSystem::kDrawingNodes : PowerSystem::kIdle);
             EXPECT_EQ(s.view.mouseCaptured, kind.nodeByNode);
             const bool hinted = kind.nodeByNode && kind.tool != ElementType::ArrowedFreeLine;
             ASSERT_EQ(s.MessagesOf(kNodeDrawingMessage).size(), hinted ? 1u : 0u);
             if (hinted) {
                 EXPECT_EQ(s.MessagesOf(kNodeDrawingMessage)[0].first, 1);
             }
             // Only a system-information box asks for its properties at once.
             EXPECT_EQ(s.MessagesOf(kOpenPropertiesMessage).size(), kind.tool == ElementType::SystemInfo ? 1u : 0u);
             if (kind.nodeByNode) s.Event(EditEvent::DoubleClick, kind.tool, {x + 30, 330});
             EXPECT_FALSE(s.view.mouseCaptured);
         }
         EXPECT_EQ(s.model->List(PowerSystem::kBuses).GetCount(), 4);
     }},

    {"a line drawn node by node ends on a bus",
     [](Session& s) {
         Bus& a = s.PlaceBus({100, 100});
         Bus& b = s.PlaceBus({300, 100});
         s.view.calls.clear();
         EXPECT_TRUE(s.Click(ElementType::PowerLine, {100, 120}));
         auto& line = static_cast<EEElement&>(*s.model->GetCurrentElement());
         EXPECT_EQ(line.GetEndKeys()[0], a.GetKey());
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kDrawingNodes);
         EXPECT_FALSE(s.Event(EditEvent::MouseMove, ElementType::PowerLine, {200, 180}));
         EXPECT_TRUE(s.Click(ElementType::PowerLine, {200, 180}));  // a free node
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kDrawingNodes);
         EXPECT_TRUE(s.view.mouseCaptured);
         EXPECT_TRUE(s.Click(ElementType::PowerLine, {300, 125}));  // on bar B
         EXPECT_EQ(line.GetEndKeys()[0], a.GetKey());
         EXPECT_EQ(line.GetEndKeys()[1], b.GetKey());
         EXPECT_EQ(line.GetNodeCount(), 3);
         EXPECT_TRUE(HoldsKey(a, line.GetKey()));
         EXPECT_TRUE(HoldsKey(b, line.GetKey()));
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kIdle);
         EXPECT_FALSE(s.view.mouseCaptured);
         auto hints = s.MessagesOf(kNodeDrawingMessage);
         ASSERT_EQ(hints.size(), 2u);
         EXPECT_EQ(hints[0].first, 1);
         EXPECT_EQ(hints[1].first, 0);
         EXPECT_EQ(s.model->GetCurrentElement(), nullptr);

         // A free line ends with a double click; an arrowed one with its
         // second click, without the hint.
         s.view.calls.clear();
         s.Click(ElementType::FreeLine, {100, 300});
         s.Click(ElementType::FreeLine, {200, 300});
         EXPECT_TRUE(s.Event(EditEvent::DoubleClick, ElementType::FreeLine, {200, 350}));
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kIdle);
         EXPECT_FALSE(s.view.mouseCaptured);
         ASSERT_EQ(s.MessagesOf(kNodeDrawingMessage).size(), 2u);
         EXPECT_EQ(s.MessagesOf(kNodeDrawingMessage)[1].first, 0);
         s.view.calls.clear();
         s.Click(ElementType::ArrowedFreeLine, {100, 400});
         IElement* arrow = s.model->GetCurrentElement();
         EXPECT_TRUE(s.Click(ElementType::ArrowedFreeLine, {200, 400}));
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kIdle);
         EXPECT_FALSE(s.view.mouseCaptured);
         EXPECT_EQ(arrow->GetConnectionPoint(1), (Point{200, 400}));
         EXPECT_TRUE(s.MessagesOf(kNodeDrawingMessage).empty());
         EXPECT_EQ(s.CountIn(PowerSystem::kFreeLines), 2);
     }},

    {"picking in order and toggling with shift",
     [](Session& s) {
         SmallNetwork net(s);
         EXPECT_FALSE(s.Pick({100, 120}));  // the bus over the line's end
         EXPECT_EQ(s.SelectedKeys(), std::vector<int>{net.a.GetKey()});
         EXPECT_EQ(s.model->GetCurrentElement(), &net.a);
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kPicked);
         s.ExpectConsistent();

         s.Pick({200, 121});  // the line alone
         EXPECT_EQ(s.SelectedKeys(), std::vector<int>{net.ab.GetKey()});
         EXPECT_TRUE(net.ab.IsAnySelected());
         EXPECT_FALSE(net.a.IsAnySelected());
         s.ExpectConsistent();

         s.ShiftPick({500, 110});  // C joins
         s.ShiftPick({300, 110});  // B joins
         EXPECT_EQ(s.model->GetSelection().GetCount(), 3);
         s.ExpectConsistent();
         s.ShiftPick({500, 110});  // C leaves; the walk to it passed B
         EXPECT_FALSE(s.model->IsSelected(net.c.GetKey()));
         EXPECT_FALSE(net.c.IsAnySelected());
         EXPECT_EQ(s.model->GetSelection().GetCount(), 2);
         s.ExpectConsistent();

         s.ShiftPick({900, 900});  // a miss with shift keeps the selection
         EXPECT_EQ(s.model->GetSelection().GetCount(), 2);
         s.ExpectConsistent();
         s.Pick({300, 110});  // a selected element keeps the whole selection
         EXPECT_EQ(s.model->GetSelection().GetCount(), 2);
         s.Pick({900, 900});  // a plain miss empties it
         EXPECT_TRUE(s.model->GetSelection().IsEmpty());
         s.ExpectConsistent();

         // Outside edit mode shift adds nothing.
         s.model->SetEditMode(false);
         s.Pick({100, 110});
         s.ShiftPick({300, 110});
         EXPECT_EQ(s.SelectedKeys(), std::vector<int>{net.b.GetKey()});
         s.ExpectConsistent();
         s.model->SetEditMode(true);

         // A band selects what lies wholly inside it.
         Rect band{50, 50, 350, 200};
         EXPECT_TRUE(s.model->HandleEditEvent(EditEvent::SelectInRect, EditTool::Selection, 0, nullptr, &s.view,
                                              &band));
         std::vector<int> inside{net.a.GetKey(), net.b.GetKey(), net.ab.GetKey(), net.load.GetKey()};
         std::vector<int> selected = s.SelectedKeys();
         std::sort(inside.begin(), inside.end());
         std::sort(selected.begin(), selected.end());
         EXPECT_EQ(selected, inside);
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kPicked);
     }},

    {"arrow keys move the selection and what hangs on it",
     [](Session& s) {
         SmallNetwork net(s);
         s.Pick({100, 110});
         const Rect start = BodyOf(net.a);
         const Point loadEnd = net.load.GetConnectionPoint(0);
         EXPECT_TRUE(s.Key(kKeyRight));  // one grid step
         EXPECT_EQ(BodyOf(net.a).left, start.left + 10);
         EXPECT_EQ(net.load.GetConnectionPoint(0).x, loadEnd.x + 10);
         EXPECT_EQ(net.ab.GetConnectionPoint(0).x, 110);
         EXPECT_TRUE(s.Key(kKeyDown, 2));  // held: (10 - 1) x 10 x 2 down
         EXPECT_EQ(BodyOf(net.a).top, start.top + 180);
         EXPECT_TRUE(s.Key(kKeyLeft));
         EXPECT_EQ(BodyOf(net.a).left, start.left);
         EXPECT_FALSE(s.model->IsMarked(net.a.GetKey()));

         // Outside edit mode, or while a line is drawn, keys do nothing.
         s.model->SetEditMode(false);
         EXPECT_FALSE(s.Key(kKeyRight));
         s.model->SetEditMode(true);
         s.Click(ElementType::FreeLine, {700, 700});
         EXPECT_FALSE(s.Key(kKeyRight));
         EXPECT_EQ(BodyOf(net.a).left, start.left);
     }},

    {"dragging the selection and the ends of a bar",
     [](Session& s) {
         SmallNetwork net(s);
         s.Pick({300, 110});
         const Rect start = BodyOf(net.b);
         EXPECT_TRUE(s.Event(EditEvent::MouseMove, EditTool::Selection, {330, 130}, MouseFlag::LeftButton));
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kMovingSelection);
         EXPECT_EQ(BodyOf(net.b).left, start.left + 30);
         EXPECT_EQ(BodyOf(net.b).top, start.top + 20);
         EXPECT_EQ(net.ab.GetConnectionPoint(1), (Point{330, 140}));
         EXPECT_EQ(net.bc.GetConnectionPoint(0), (Point{330, 150}));
         EXPECT_FALSE(s.Event(EditEvent::ButtonUp, EditTool::Selection, {330, 130}));
         EXPECT_EQ(net.ab.GetEndKeys()[1], net.b.GetKey());
         // A shift-click on nothing keeps the selection; a drag from there
         // does not move it.
         s.ShiftPick({800, 800});
         EXPECT_FALSE(s.Event(EditEvent::MouseMove, EditTool::Selection, {820, 820}, MouseFlag::LeftButton));
         EXPECT_EQ(BodyOf(net.b).left, start.left + 30);

         // The node mover stretches the selected bar by its lower end.
         s.Pick({100, 110});
         EXPECT_FALSE(s.Click(EditTool::MoveNodes, {100, 139}));
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kDraggingHandle);
         s.Event(EditEvent::MouseMove, EditTool::MoveNodes, {100, 170}, MouseFlag::LeftButton);
         EXPECT_EQ(net.a.GetLength(), 70);
         s.view.calls.clear();
         s.Event(EditEvent::MouseMove, EditTool::MoveNodes, {100, 170});
         ASSERT_EQ(s.MessagesOf(kToolStateMessage).size(), 1u);
         EXPECT_EQ(s.MessagesOf(kToolStateMessage)[0].second, 3);  // over an end
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kIdle);

         // The move-all tool carries the whole diagram.
         const Rect c = BodyOf(net.c);
         s.Click(EditTool::MoveAll, {0, 0});
         EXPECT_TRUE(s.Event(EditEvent::MouseMove, EditTool::MoveAll, {-40, 20}, MouseFlag::LeftButton));
         EXPECT_EQ(BodyOf(net.c).left, c.left - 40);
         EXPECT_EQ(net.bc.GetConnectionPoint(1), (Point{460, 150}));
         EXPECT_TRUE(s.model->GetSelection().IsEmpty());
     }},

    {"delete hides a selected label and removes selected elements",
     [](Session& s) {
         SmallNetwork net(s);
         // The bar's name label lies above it, left of its top.
         auto& a = static_cast<EEElement&>(net.a);
         const Rect label = a.GetLabel(0)->GetRect();
         EXPECT_FALSE(s.Pick({label.left + 2, label.top + 2}));
         EXPECT_TRUE(s.model->IsSelected(net.a.GetKey()));
         EXPECT_EQ(a.GetSelectedLabel(), 0);
         EXPECT_TRUE(s.Key(kKeyDelete));
         EXPECT_EQ(s.model->FindByKey(net.a.GetKey()), &net.a);
         EXPECT_FALSE(a.IsLabelShown(0));
         EXPECT_TRUE(a.IsLabelShown(1));
         EXPECT_TRUE(s.model->GetSelection().IsEmpty());
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kNothingUnderWork);
         s.ExpectConsistent();

         const int bKey = net.b.GetKey();
         s.Pick({300, 110});
         EXPECT_TRUE(s.Key(kKeyDelete));
         EXPECT_EQ(s.model->FindByKey(bKey), nullptr);
         EXPECT_EQ(net.ab.GetEndKeys()[1], 0);
         EXPECT_EQ(net.bc.GetEndKeys()[0], 0);
         EXPECT_EQ(s.model->GetCurrentElement(), nullptr);
         s.ExpectConsistent();
     }},

    {"delete the current element",
     [](Session& s) {
         SmallNetwork net(s);
         const int lineKey = net.ab.GetKey();
         s.Pick({200, 121});
         EXPECT_TRUE(s.Event(EditEvent::DeleteCurrent, EditTool::Selection));
         EXPECT_EQ(s.model->FindByKey(lineKey), nullptr);
         EXPECT_FALSE(HoldsKey(net.a, lineKey));
         EXPECT_FALSE(HoldsKey(net.b, lineKey));
         EXPECT_EQ(s.model->GetCurrentElement(), nullptr);
         EXPECT_TRUE(s.model->GetSelection().IsEmpty());
         EXPECT_EQ(s.CountIn(PowerSystem::kLines), 1);
         EXPECT_FALSE(s.Event(EditEvent::DeleteCurrent, EditTool::Selection));  // none left
         s.ExpectConsistent();
     }},

    {"copy and paste connect the copies among themselves only",
     [](Session& s) {
         SmallNetwork net(s);
         Rect band{50, 50, 350, 200};
         s.model->HandleEditEvent(EditEvent::SelectInRect, EditTool::Selection, 0, nullptr, &s.view, &band);
         EXPECT_FALSE(s.Event(EditEvent::Copy, EditTool::Selection));
         ASSERT_EQ(s.clipboard.GetCount(), 4);
         EXPECT_EQ(s.model->GetSelection().GetCount(), 4);  // copying keeps it
         for (const auto& [key, element] : s.clipboard.Entries()) {
             EXPECT_EQ(static_cast<EEElement*>(element)->GetOwner(), nullptr);
         }
         EXPECT_TRUE(s.Event(EditEvent::Paste, EditTool::Selection, {700, 300}));
         EXPECT_EQ(s.CountIn(PowerSystem::kBuses), 5);
         EXPECT_EQ(s.CountIn(PowerSystem::kLines), 3);
         EXPECT_EQ(s.CountIn(PowerSystem::kLoads), 2);
         ASSERT_EQ(s.model->GetSelection().GetCount(), 4);
         IElement* line = nullptr;
         IElement* load = nullptr;
         std::vector<Bus*> buses;
         for (const auto& [key, element] : s.model->GetSelection().Entries()) {
             EXPECT_NE(element, &net.a);
             if (KeyCategory(key) == Category::Line) line = element;
             if (KeyCategory(key) == Category::Load) load = element;
             if (auto* bus = dynamic_cast<Bus*>(element)) buses.push_back(bus);
         }
         ASSERT_TRUE(line && load && buses.size() == 2u);
         Bus& copyA = BodyOf(*buses[0]).left < BodyOf(*buses[1]).left ? *buses[0] : *buses[1];
         Bus& copyB = &copyA == buses[0] ? *buses[1] : *buses[0];
         EXPECT_EQ(line->GetEndKeys()[0], copyA.GetKey());
         EXPECT_EQ(line->GetEndKeys()[1], copyB.GetKey());
         EXPECT_EQ(load->GetEndKeys()[0], copyA.GetKey());
         EXPECT_EQ(copyA.GetKeyList().size(), 2u);
         EXPECT_EQ(copyB.GetKeyList(), std::vector<int>{line->GetKey()});
         EXPECT_EQ(net.b.GetKeyList(), (std::vector<int>{net.ab.GetKey(), net.bc.GetKey()}));
         // The group's top-left corner lands on the point, in whole grid
         // steps from where it was.
         const Rect group = s.model->GetSelection().GetExtent();
         EXPECT_TRUE(group.left > 690 && group.left <= 700) << group.left;
         EXPECT_TRUE(group.top > 290 && group.top <= 300) << group.top;
         EXPECT_EQ((BodyOf(copyA).left - BodyOf(net.a).left) % 10, 0);
         s.ExpectConsistent();

         // Pasting again makes another group; the clipboard stays.
         EXPECT_TRUE(s.Event(EditEvent::Paste, EditTool::Selection, {700, 500}));
         EXPECT_EQ(s.CountIn(PowerSystem::kBuses), 7);
         EXPECT_EQ(s.clipboard.GetCount(), 4);
         s.ExpectConsistent();
     }},

    {"cut removes the selection into the clipboard",
     [](Session& s) {
         SmallNetwork net(s);
         const int bKey = net.b.GetKey();
         const int lineKey = net.ab.GetKey();
         s.Pick({300, 110});
         s.ShiftPick({200, 121});
         EXPECT_TRUE(s.Event(EditEvent::Cut, EditTool::Selection));
         EXPECT_EQ(s.model->FindByKey(bKey), nullptr);
         EXPECT_EQ(s.CountIn(PowerSystem::kLines), 1);
         EXPECT_EQ(net.bc.GetEndKeys()[0], 0);
         EXPECT_FALSE(HoldsKey(net.a, lineKey));
         EXPECT_TRUE(s.model->GetSelection().IsEmpty());
         EXPECT_EQ(s.model->GetToolState(), PowerSystem::kNothingUnderWork);
         ASSERT_EQ(s.clipboard.GetCount(), 2);
         s.ExpectConsistent();

         // Pasted back, the line ends on the pasted bar and nowhere else.
         EXPECT_TRUE(s.Event(EditEvent::Paste, EditTool::Selection, {300, 100}));
         IElement* line = nullptr;
         Bus* bus = nullptr;
         for (const auto& [key, element] : s.model->GetSelection().Entries()) {
             if (KeyCategory(key) == Category::Line) line = element;
             if (KeyCategory(key) == Category::Bus) bus = static_cast<Bus*>(element);
         }
         ASSERT_TRUE(line && bus);
         EXPECT_EQ(line->GetEndKeys()[1], bus->GetKey());
         EXPECT_EQ(line->GetEndKeys()[0], 0);
         EXPECT_EQ(bus->GetKeyList(), std::vector<int>{line->GetKey()});
         s.ExpectConsistent();
     }},

    {"duplicating connected elements connects the copies to each other",
     [](Session& s) {
         SmallNetwork net(s);
         s.Pick({100, 110});
         s.ShiftPick({200, 121});
         EXPECT_TRUE(s.Event(EditEvent::Duplicate, EditTool::Selection));
         ASSERT_EQ(s.model->GetSelection().GetCount(), 2);
         IElement* line = nullptr;
         Bus* bus = nullptr;
         for (const auto& [key, element] : s.model->GetSelection().Entries()) {
             if (KeyCategory(key) == Category::Line) line = element;
             if (KeyCategory(key) == Category::Bus) bus = static_cast<Bus*>(element);
         }
         ASSERT_TRUE(line && bus);
         EXPECT_NE(bus, &net.a);
         EXPECT_EQ(line->GetEndKeys()[0], bus->GetKey());
         EXPECT_EQ(line->GetEndKeys()[1], 0);
         EXPECT_EQ(bus->GetKeyList(), std::vector<int>{line->GetKey()});
         // One duplication step (grid 10 x 1) down and right.
         EXPECT_EQ(BodyOf(*bus).left, BodyOf(net.a).left + 10);
         EXPECT_EQ(BodyOf(*bus).top, BodyOf(net.a).top + 10);
         EXPECT_FALSE(net.a.IsAnySelected());
         s.ExpectConsistent();
     }},

    {"paste at a point rounds to whole grid steps",
     [](Session& s) {
         struct Case {
             int grid;
             Point at;
             Point corner;  // where the pasted bar's top-left lands
         };
         // The bar lies at (96, 100); copied, one step down and right.
         const Case cases[] = {
             {10, {253, 347}, {246, 340}},
             {10, {50, 40}, {46, 40}},    // left of and above the group: down, not towards it
             {10, {106, 110}, {106, 110}},
             {0, {253, 347}, {253, 347}},  // no grid: exactly at the point
         };
         Bus& bar = s.PlaceBus({98, 100});
         for (const Case& c : cases) {
             SCOPED_TRACE(c.at.x);
             s.model->SetSnapToGrid(true, c.grid);
             s.Pick({98, 110});
             s.Event(EditEvent::Copy, EditTool::Selection);
             EXPECT_TRUE(s.Event(EditEvent::Paste, EditTool::Selection, c.at));
             ASSERT_EQ(s.model->GetSelection().GetCount(), 1);
             IElement* pasted = s.model->GetSelection().Entries().begin()->second;
             EXPECT_EQ((Point{BodyOf(*pasted).left, BodyOf(*pasted).top}), c.corner);
             s.model->DeleteElement(pasted);
             s.Event(EditEvent::ClearSelection, EditTool::Selection);
         }
         int duplicationX = 0, duplicationY = 0, longMove = 0;
         s.model->GetDuplicationSteps(duplicationX, duplicationY, longMove);
         EXPECT_EQ(duplicationX, 1);
         EXPECT_EQ(duplicationY, 1);
         EXPECT_EQ(s.model->GetGridStep(), 0);
         EXPECT_EQ(BodyOf(bar).left, 96);
     }},

    {"paste without a clipboard or from an empty one does nothing",
     [](Session& s) {
         EXPECT_FALSE(s.Event(EditEvent::Paste, EditTool::Selection, {100, 100}));
         s.model->SetClipboard(nullptr);
         EXPECT_FALSE(s.Event(EditEvent::Paste, EditTool::Selection, {100, 100}));
         s.PlaceBus({100, 100});
         s.Pick({100, 110});
         EXPECT_FALSE(s.Event(EditEvent::Cut, EditTool::Selection));
         EXPECT_EQ(s.CountIn(PowerSystem::kBuses), 1);
         EXPECT_TRUE(s.Event(EditEvent::Duplicate, EditTool::Selection));
         EXPECT_EQ(s.CountIn(PowerSystem::kBuses), 2);
     }},

    {"the diagram grows by 500 past its edges",
     [](Session& s) {
         s.view.calls.clear();
         s.PlaceBus({2010, 100});
         EXPECT_EQ(s.model->GetDiagramSize(), (Size{2500, 1000}));
         auto sizes = std::count_if(s.view.calls.begin(), s.view.calls.end(),
                                    [](const auto& call) { return call.op == Op::SetScrollSizes; });
         EXPECT_EQ(sizes, 1);
         s.PlaceBus({2100, 100});
         EXPECT_EQ(s.model->GetDiagramSize(), (Size{2500, 1000}));
         s.PlaceBus({100, 990});
         EXPECT_EQ(s.model->GetDiagramSize(), (Size{2500, 1500}));
         s.PlaceBus({9000, 100});  // once per placing, however far
         EXPECT_EQ(s.model->GetDiagramSize(), (Size{3000, 1500}));
         // Moving the selection past the edge grows it as well.
         s.Pick({100, 1000});
         s.Key(kKeyDown);
         s.Event(EditEvent::MouseMove, EditTool::Selection, {100, 1600}, MouseFlag::LeftButton);
         EXPECT_EQ(s.model->GetDiagramSize(), (Size{3000, 2000}));
     }},

    {"switching, disconnecting and the dialogs of the current element",
     [](Session& s) {
         SmallNetwork net(s);
         EXPECT_FALSE(s.Event(EditEvent::Switch, EditTool::Selection));  // nothing current
         s.Pick({200, 121});
         EXPECT_TRUE(s.Event(EditEvent::Switch, EditTool::Selection));
         EXPECT_FALSE(net.ab.IsOn());
         EXPECT_TRUE(s.Event(EditEvent::Properties, EditTool::Selection));
         ASSERT_EQ(s.MessagesOf(kOpenPropertiesMessage).size(), 1u);
         EXPECT_EQ(s.MessagesOf(kOpenPropertiesMessage)[0].element, &net.ab);
         s.view.calls.clear();
         EXPECT_FALSE(s.Event(EditEvent::ContextMenu, EditTool::Selection, {300, 110}));
         ASSERT_EQ(s.MessagesOf(kToolStateMessage).size(), 1u);
         EXPECT_EQ(s.MessagesOf(kToolStateMessage)[0].element, &net.b);
         EXPECT_EQ(s.MessagesOf(kToolStateMessage)[0].second, 0);  // not restricted
         EXPECT_TRUE(s.Event(EditEvent::DoubleClick, EditTool::Selection, {300, 110}));
         EXPECT_EQ(s.MessagesOf(kOpenPropertiesMessage).size(), 1u);
         EXPECT_TRUE(s.Event(EditEvent::Disconnect, EditTool::Selection));
         EXPECT_TRUE(net.b.GetKeyList().empty());
         EXPECT_EQ(net.ab.GetEndKeys()[1], 0);
         EXPECT_EQ(net.bc.GetEndKeys()[0], 0);
         EXPECT_FALSE(s.Event(18, EditTool::Selection));
         s.ExpectConsistent();
     }},
};

TEST(EditEvents, ScriptedScenarios) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        Session session;
        scenario.run(session);
        session.ExpectConsistent();
    }
}

// Any order of events leaves the lists, keys and selection consistent and
// touches no element after it is gone (the sanitizers watch).
TEST(EditEvents, RandomScriptsKeepTheModelConsistent) {
    const int tools[] = {EditTool::Selection, EditTool::Selection, EditTool::Selection, EditTool::MoveAll,
                         EditTool::MoveNodes, ElementType::Bus, ElementType::HorizontalBus,
                         ElementType::ConnectionNode, ElementType::Load, ElementType::Generator,
                         ElementType::PowerLine, ElementType::Transformer, ElementType::FreeLine,
                         ElementType::ArrowedFreeLine, ElementType::CircuitBreaker, ElementType::PolygonElement,
                         ElementType::FreeText, ElementType::SystemInfo};
    const int keys[] = {kKeyLeft, kKeyRight, kKeyDown, kKeyDelete};
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        auto pick = [&random](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
        Session s;
        int tool = EditTool::Selection;
        for (int step = 0; step < 400; ++step) {
            if (pick(8) == 0) tool = tools[pick(std::size(tools))];
            // On a coarse grid, so that clicks meet what earlier clicks made.
            const Point at{pick(12) * 20, pick(8) * 20};
            const int event = pick(19);
            if (event == EditEvent::Key) {
                s.Key(keys[pick(std::size(keys))], pick(3) == 0 ? 1 : 0);
            } else if (event == EditEvent::SelectInRect) {
                Rect band{at.x - 60, at.y - 60, at.x + 60, at.y + 60};
                s.model->HandleEditEvent(event, tool, 0, nullptr, &s.view, &band);
            } else {
                s.Event(event, tool, at, pick(2) == 0 ? MouseFlag::LeftButton : MouseFlag::LeftButton | MouseFlag::Shift);
            }
            s.ExpectConsistent();
            if (HasFailure()) return;
        }
    }
}

}  // namespace
