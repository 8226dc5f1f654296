// The windows' widgets and their forms' declarations name the same controls: what the
// core sets on a control reaches a widget, and no widget waits for a control that the
// core cannot name.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "RunningProgram.h"
#include "controls/Windows.h"
#include "ui/FormBinder.h"

namespace kivrel::testing {
namespace {

TEST(DeclaredControls, EachWindowCarriesExactlyTheControlsItDeclares) {
  RunningProgram program;
  for (const Window* declared : kWindows) {
    program.ctx().forms.Get(*declared).Load();
    QWidget* window = program.Window(*declared);
    ASSERT_NE(window, nullptr) << declared->Name();
    EXPECT_EQ(window->objectName().toStdString(), declared->Name());
    std::map<std::string, int> carried;
    for (QObject* object : FormBinder::NamedObjects(window)) ++carried[object->objectName().toStdString()];
    for (int i = 0; i < declared->Size(); ++i) {
      const std::string name(declared->At(i).Name());
      EXPECT_EQ(carried[name], 1) << declared->Name() << " has " << carried[name] << " widgets for " << name;
      carried.erase(name);
    }
    for (const auto& [name, count] : carried) {
      ADD_FAILURE() << declared->Name() << " has the widget " << name << ", which is none of its controls";
    }
  }
}

}  // namespace
}  // namespace kivrel::testing
