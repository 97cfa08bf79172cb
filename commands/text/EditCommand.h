// "EM", the pick-and-edit command: what a picked object's editable value is, and writing a
// value back, with or without the dialog.
#pragma once
#include "frame/Undo.h"

// Fills the request for the object picked at `pickPoint`; false when it has no value "EM" edits
// (or a block reference has no attribute).
bool classifyForEdit(AcDbObjectId id, const AcGePoint3d& pickPoint, EditRequest& request);

enum class EditDialog { Hide, Show };
// With Show, asks for the new value in the dialog of the object's kind and writes it when the
// dialog is accepted; with Hide, writes the request's values as they are (the journal's undo).
void applyEdit(const EditRequest& request, EditDialog dialog);

// Draws again the marks that the first alignment holding a pole of the survey point shows.
void refreshAlignmentMarks(AcDbObjectId surveyPointId);
