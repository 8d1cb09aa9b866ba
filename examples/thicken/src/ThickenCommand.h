// The "Thicken" command: sets the thickness of the selected plates.
//
//   SelectionWatcher selection;                // at plug-in start-up
//   ThickenCommand thicken(selection);
//   ...
//   thicken.run(3.5);                          // when the user runs the command
//
// Plates are the selected entities whose type name is "Plate"; anything else
// in the selection is left alone.
#pragma once

#include <cstddef>

#include <kyr/appfw/IEntity.h>

#include "SelectionWatcher.h"

namespace thicken {

class ThickenCommand {
 public:
  // The command works on what `selection` holds when it runs.
  explicit ThickenCommand(const SelectionWatcher& selection) : selection_(selection) {}

  // Sets "thickness" to `millimetres` on every selected plate with one
  // "ModifyObjects" command, announces the plates to the model browser and
  // logs what it did. Returns the number of plates sent to the host: the
  // host's answer to the edit does not reach the plug-in (EditEntityHelper
  // drops it), so a plate the host failed to change counts too. A thickness
  // that is not positive, or a selection without plates, is logged and
  // changes nothing. Host exceptions pass to the caller, the browser then
  // told nothing.
  std::size_t run(double millimetres) const;

  // The selected entities whose type name is "Plate", in selection order.
  kyr::orla::appfw::IEntities selectedPlates() const;

 private:
  const SelectionWatcher& selection_;
};

}  // namespace thicken
