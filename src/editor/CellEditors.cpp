#include "CellEditors.h"

#include "CMSFlexGrid.h"

// Placeholder until the in-place editors land: the form can already create,
// hide and commit them.
CellEditors::CellEditors(CMSFlexGrid *grid, const tavin::ToneTable &tones,
                         std::function<int()> bandSelection, QWidget *form)
    : QObject(form), m_grid(grid), m_tones(tones), m_bandSelection(std::move(bandSelection)), m_form(form)
{
}

CellEditors::~CellEditors() = default;

void CellEditors::hideAll() {}
void CellEditors::hideForModelChange() {}
void CellEditors::commitCurrent() {}
