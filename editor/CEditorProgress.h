#pragma once
// What a long load or save reports while it runs: the overall steps with the
// text of the step under way, and the name tables' own bar for their passes
// over the dictionaries and the people. The progress box shows it; code that
// runs without a screen passes none.
class CEditorProgress {
public:
    virtual ~CEditorProgress() = default;
    // The overall bar moves on by its step; a text number other than 0 names
    // the step now under way.
    virtual void Step(int nText) = 0;
    virtual void StepIt() = 0;
    // The name bar starts again at 0 of nMaximum and moves by nStep.
    virtual void SetNameRange(int nMaximum, int nStep) = 0;
    virtual void StepNames() = 0;
};
