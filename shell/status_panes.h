// The status bar's own record of its panes, which GetPaneText and SetPaneText read and write.
//
// After start-up only the update worker touches the record, from its own thread; the window that
// draws the panes is reached through a sink whose send is synchronous (the worker waits until the
// user-interface thread has applied the text) and harmless once the window is gone.
#pragma once

#include <atomic>
#include <cstdint>

#include "shell/text.h"
#include "shell/window_definition.h"

namespace orvane {

class StatusPanes {
 public:
  // Where a stored text goes to be drawn. `index_and_style` is the pane index combined (bitwise or)
  // with the pane's drawing style, as SB_SETTEXTA takes it.
  class Sink {
   public:
    virtual ~Sink() = default;
    virtual void SendPaneText(std::uint32_t index_and_style, TextRef text) = 0;
  };

  StatusPanes();  // the five panes of the layout with their start texts

  // A copy of the text last stored for the pane; missing when it is empty or the index is not 0-4.
  Text GetPaneText(int index) const;
  // Stores a copy and sends it to the sink, if one is attached. An index outside 0-4 does nothing.
  void SetPaneText(int index, TextRef text);

  // The sink must stay valid while attached. Detaching (when the window goes) makes later writes
  // update the record only.
  void AttachSink(Sink* sink) { sink_.store(sink); }
  void DetachSink() { sink_.store(nullptr); }

  int width(int index) const { return layout::kPanes[index].width; }
  std::uint32_t style(int index) const { return layout::kPanes[index].style; }

 private:
  Text texts_[layout::kPaneCount];
  std::atomic<Sink*> sink_{nullptr};
};

}  // namespace orvane
