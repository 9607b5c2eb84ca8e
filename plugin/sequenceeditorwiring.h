#pragma once

#include "hostlink.h"

class ORVSequencerMainDialog;
class QAction;

// Joins the editing parts of a sequencer window to the plug-in: the
// commands palette reads the host's catalogue, an I/O-pins step is edited
// in the run's own I/O-pins dialog, and a row's "&Execute" starts a run as
// the Start action does, while that action is enabled.
class SequenceEditorWiring
{
public:
    static void connectWindow(ORVSequencerMainDialog *window, const HostLink &link,
                              QAction *startAction);
};
