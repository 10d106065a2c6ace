#include "common/CPointerArray.h"
#include "common/CXList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <list>
#include <vector>

namespace {

int g_items[10];

void FillList(CXList& list, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        list.AddTail(&g_items[i]);
}

TEST(CXListTest, GetAtFromEitherEndMatchesPlainWalk)
{
    for (int nCount : {1, 2, 5, 6, 9}) {
        CXList list;
        FillList(list, nCount);
        LPXLISTNODE pNode = list.GetHead();
        for (int i = 0; i < nCount; ++i, pNode = pNode->pNext)
            EXPECT_EQ(list.GetAt(i), pNode) << "count " << nCount << " index " << i;
        EXPECT_EQ(list.GetAt(-1), nullptr);
        EXPECT_EQ(list.GetAt(nCount), nullptr);
    }
}

TEST(CXListTest, IndexOfFindAndRemove)
{
    CXList list;
    FillList(list, 4);
    int other = 0;
    EXPECT_EQ(list.IndexOf(&other), 4);
    EXPECT_EQ(list.IndexOf(&g_items[2]), 2);
    EXPECT_EQ(list.Find(&g_items[0], list.GetAt(1)), nullptr);

    list.Remove(list.GetHead());
    list.Remove(list.GetTail());
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetHead()->pData, &g_items[1]);
    EXPECT_EQ(list.GetTail()->pData, &g_items[2]);
    EXPECT_EQ(list.GetHead()->pPrev, nullptr);
    EXPECT_EQ(list.GetTail()->pNext, nullptr);
}

TEST(CXListTest, RemoveHeadAndTailEmptyTheList)
{
    CXList list;
    list.AddTail(&g_items[0]);
    EXPECT_EQ(list.RemoveHead(), &g_items[0]);
    EXPECT_EQ(list.GetHead(), nullptr);
    EXPECT_EQ(list.GetTail(), nullptr);
    EXPECT_EQ(list.GetCount(), 0);

    FillList(list, 2);
    EXPECT_EQ(list.RemoveTail(), &g_items[1]);
    EXPECT_EQ(list.RemoveTail(), &g_items[0]);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHead(), nullptr);
}

TEST(CXListTest, InsertOnEmptyListDoesNothing)
{
    CXList list;
    EXPECT_EQ(list.InsertBefore(nullptr, &g_items[0]), nullptr);
    EXPECT_EQ(list.InsertAfter(nullptr, &g_items[0]), nullptr);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(CXListTest, InsertAtEndsMovesHeadAndTail)
{
    CXList list;
    FillList(list, 2);
    list.InsertBefore(list.GetHead(), &g_items[5]);
    list.InsertAfter(list.GetTail(), &g_items[6]);
    list.InsertAfter(list.GetHead(), &g_items[7]);
    std::vector<int*> order;
    for (int* p : list.Items<int>())
        order.push_back(p);
    EXPECT_EQ(order, (std::vector<int*>{&g_items[5], &g_items[7], &g_items[0], &g_items[1], &g_items[6]}));
    // The backward links agree with the forward ones.
    std::vector<int*> backwards;
    for (LPXLISTNODE p = list.GetTail(); p; p = p->pPrev)
        backwards.push_back(static_cast<int*>(p->pData));
    EXPECT_EQ(backwards, (std::vector<int*>(order.rbegin(), order.rend())));
}

TEST(CXListTest, SwapExchangesDataNotNodes)
{
    CXList list;
    FillList(list, 3);
    LPXLISTNODE pFirst = list.GetHead();
    EXPECT_EQ(list.Swap(0, 2), list.GetTail());
    EXPECT_EQ(list.GetHead(), pFirst);
    EXPECT_EQ(pFirst->pData, &g_items[2]);
    EXPECT_EQ(list.GetTail()->pData, &g_items[0]);
}

// Nodes come from the list's own blocks and are reused once removed: a long
// run of mixed changes, across several block sizes and through empty, keeps
// the list the same as a plain list in both directions, and nodes still in
// the list never move.
TEST(CXListTest, ReusedNodesKeepTheListWhole)
{
    CXList list;
    std::list<int> model;
    std::vector<std::pair<int, LPXLISTNODE>> kept;  // values and their nodes
    uint32_t dwSeed = 12345;
    auto draw = [&](uint32_t n) {
        dwSeed = dwSeed * 1103515245u + 12345u;
        return (dwSeed >> 16) % n;
    };
    for (int nStep = 0; nStep < 4000; ++nStep) {
        const int nValue = nStep % 10;
        const uint32_t dwOp = draw(nStep < 3000 ? 10 : 4);  // the last part mostly removes
        const int nCount = static_cast<int>(model.size());
        if (dwOp >= 6 || nCount == 0) {
            list.AddTail(&g_items[nValue]);
            model.push_back(nValue);
        } else if (dwOp == 5) {
            const int nAt = static_cast<int>(draw(static_cast<uint32_t>(nCount)));
            list.InsertBefore(list.GetAt(nAt), &g_items[nValue]);
            model.insert(std::next(model.begin(), nAt), nValue);
        } else if (dwOp == 4) {
            const int nAt = static_cast<int>(draw(static_cast<uint32_t>(nCount)));
            list.InsertAfter(list.GetAt(nAt), &g_items[nValue]);
            model.insert(std::next(model.begin(), nAt + 1), nValue);
        } else if (dwOp == 3) {
            list.RemoveHead();
            model.pop_front();
        } else if (dwOp == 2) {
            list.RemoveTail();
            model.pop_back();
        } else {
            const int nAt = static_cast<int>(draw(static_cast<uint32_t>(nCount)));
            list.Remove(list.GetAt(nAt));
            model.erase(std::next(model.begin(), nAt));
        }
        ASSERT_EQ(list.GetCount(), static_cast<int>(model.size())) << "step " << nStep;
        if (nStep % 97 == 0 || model.size() < 3) {
            std::vector<int> forward, backward;
            for (LPXLISTNODE p = list.GetHead(); p; p = p->pNext)
                forward.push_back(static_cast<int>(static_cast<int*>(p->pData) - g_items));
            for (LPXLISTNODE p = list.GetTail(); p; p = p->pPrev)
                backward.insert(backward.begin(), static_cast<int>(static_cast<int*>(p->pData) - g_items));
            const std::vector<int> expected(model.begin(), model.end());
            ASSERT_EQ(forward, expected) << "step " << nStep;
            ASSERT_EQ(backward, expected) << "step " << nStep;
        }
    }
    // A node stays where it is while others come and go around it.
    list.RemoveAll();
    LPXLISTNODE pFirst = list.AddTail(&g_items[1]);
    for (int i = 0; i < 300; ++i)
        list.AddTail(&g_items[2]);
    while (list.GetCount() > 1)
        list.RemoveTail();
    ASSERT_EQ(list.GetHead(), pFirst);
    EXPECT_EQ(pFirst->pData, &g_items[1]);
    EXPECT_EQ(pFirst->pNext, nullptr);
}

// Compacting lays the nodes side by side in list order and keeps the
// elements; the list then grows and shrinks as before. Lists whose nodes
// were reused out of order, of one node and of more than a block's largest
// size, and an empty one.
TEST(CXListTest, CompactKeepsOrderAndLaysNodesSideBySide)
{
    for (int nCount : {0, 1, 7, 300}) {
        CXList list;
        std::vector<int> expected;
        for (int i = 0; i < nCount + 5; ++i)
            list.AddTail(&g_items[i % 10]);
        // Take out five from the front and middle, then add at both ends so
        // that the walk jumps between reused nodes and blocks.
        for (int i = 0; i < 5; ++i)
            list.Remove(i % 2 ? list.GetHead() : list.GetAt(list.GetCount() / 2));
        if (nCount > 0) {
            list.InsertBefore(list.GetHead(), &g_items[9]);
            list.RemoveTail();
        }
        for (LPXLISTNODE p = list.GetHead(); p; p = p->pNext)
            expected.push_back(static_cast<int>(static_cast<int*>(p->pData) - g_items));
        ASSERT_EQ(static_cast<int>(expected.size()), nCount);

        list.Compact();
        std::vector<int> forward, backward;
        for (LPXLISTNODE p = list.GetHead(); p; p = p->pNext) {
            forward.push_back(static_cast<int>(static_cast<int*>(p->pData) - g_items));
            if (p->pNext)
                EXPECT_EQ(p->pNext, p + 1) << "count " << nCount;
        }
        for (LPXLISTNODE p = list.GetTail(); p; p = p->pPrev)
            backward.insert(backward.begin(), static_cast<int>(static_cast<int*>(p->pData) - g_items));
        EXPECT_EQ(forward, expected) << "count " << nCount;
        EXPECT_EQ(backward, expected) << "count " << nCount;
        EXPECT_EQ(list.GetCount(), nCount);

        // Adding takes a new block; removing hands nodes back for reuse.
        list.AddTail(&g_items[3]);
        list.RemoveHead();
        list.AddTail(&g_items[4]);
        ASSERT_EQ(list.GetCount(), nCount + 1);
        EXPECT_EQ(list.GetTail()->pData, &g_items[4]);
        if (nCount > 0)
            EXPECT_EQ(list.GetTail()->pPrev->pData, &g_items[3]);
        EXPECT_EQ(list.GetHead()->pPrev, nullptr);
    }
}

TEST(CPointerArrayTest, SetAtGrowOnEmptyArray)
{
    CPointerArray array;
    array.SetAtGrow(10, &g_items[3]);
    ASSERT_EQ(array.GetSize(), 11);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(array.GetAt(i), nullptr);
    EXPECT_EQ(array.GetAt(10), &g_items[3]);
}

TEST(CPointerArrayTest, SetSizeZeroFreesAndAllocatesAfresh)
{
    CPointerArray array;
    array.SetSize(500, 50);
    array.SetAt(499, &g_items[0]);
    array.SetSize(0);
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(array.GetMaxSize(), 0);
    EXPECT_EQ(array.GetData(), nullptr);
    array.SetAtGrow(2, &g_items[1]);
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.GetAt(0), nullptr);
}

TEST(CPointerArrayTest, GrowthSteps)
{
    CPointerArray array;
    array.SetSize(500, 50);
    array.SetAtGrow(500, &g_items[0]);
    EXPECT_EQ(array.GetMaxSize(), 550);  // the grow-by step

    CPointerArray chosen;
    chosen.SetSize(16);
    chosen.SetAtGrow(16, &g_items[0]);
    EXPECT_EQ(chosen.GetMaxSize(), 20);  // size / 8 = 2, raised to the minimum step 4
    chosen.SetSize(20000);
    EXPECT_EQ(chosen.GetMaxSize(), 20000);  // a larger request is taken whole
    chosen.SetAtGrow(20000, &g_items[0]);
    EXPECT_EQ(chosen.GetMaxSize(), 21024);  // the step is capped at 1024
}

TEST(CPointerArrayTest, RemoveAtKeepsSizeAndNullsTheEnd)
{
    CPointerArray array;
    for (int i = 0; i < 3; ++i)
        array.SetAtGrow(i, &g_items[i]);
    array.RemoveAt(0, 1);
    ASSERT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.GetAt(0), &g_items[1]);
    EXPECT_EQ(array.GetAt(1), &g_items[2]);
    EXPECT_EQ(array.GetAt(2), nullptr);
}

TEST(CPointerArrayTest, InsertAtOpensAGapOrGrows)
{
    CPointerArray array;
    array.SetAtGrow(0, &g_items[0]);
    array.SetAtGrow(1, &g_items[1]);
    array.InsertAt(1, &g_items[5], 2);
    ASSERT_EQ(array.GetSize(), 4);
    EXPECT_EQ(array.GetAt(0), &g_items[0]);
    EXPECT_EQ(array.GetAt(1), &g_items[5]);
    EXPECT_EQ(array.GetAt(2), &g_items[5]);
    EXPECT_EQ(array.GetAt(3), &g_items[1]);

    array.InsertAt(6, &g_items[6]);
    ASSERT_EQ(array.GetSize(), 7);
    EXPECT_EQ(array.GetAt(4), nullptr);
    EXPECT_EQ(array.GetAt(6), &g_items[6]);
}

}  // namespace
