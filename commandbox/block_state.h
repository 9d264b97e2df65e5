#pragma once
// The editor's named flags: in which blocks the cursor stands and what kind of block
// selection is active. Every editing action's enabling is computed from them.

struct BlockState {
    bool InDisplayBlock = false;
    bool InMessageBlock = false;
    bool InPageBlock = false;
    bool InLineBlock = false;
    bool DisplayBlockSelected = false;
    bool MessageBlockSelected = false;
    bool PageBlockSelected = false;
    bool LineBlockSelected = false;
    bool BlockSelected = false;
    bool OnBlockCommand = true;
    bool LinesSelected = false;

    bool operator==(const BlockState& o) const
    {
        return InDisplayBlock == o.InDisplayBlock && InMessageBlock == o.InMessageBlock
            && InPageBlock == o.InPageBlock && InLineBlock == o.InLineBlock
            && DisplayBlockSelected == o.DisplayBlockSelected
            && MessageBlockSelected == o.MessageBlockSelected
            && PageBlockSelected == o.PageBlockSelected
            && LineBlockSelected == o.LineBlockSelected && BlockSelected == o.BlockSelected
            && OnBlockCommand == o.OnBlockCommand && LinesSelected == o.LinesSelected;
    }
    bool operator!=(const BlockState& o) const { return !(*this == o); }
};

// The copy of BlockState taken when lines go to the internal clipboard; it decides where they
// may be pasted.
using ClipboardState = BlockState;
