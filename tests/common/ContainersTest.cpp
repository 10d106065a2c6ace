#include "common/CPointerArray.h"
#include "common/CXList.h"

#include <gtest/gtest.h>

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
