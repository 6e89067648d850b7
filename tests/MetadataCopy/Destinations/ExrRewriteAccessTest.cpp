// Who may read a rewritten frame: the rewrite is a new file, which must keep the owner, the
// group and the extended attributes of the frame it replaces.
#include "MetadataCopy/Destinations/ExrMetadataDestination.hpp"

#include "Support/ExrFixtures.hpp"
#include "Support/SampleMetadata.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#endif

namespace {

using MetadataCopy::ExrMetadataDestination;

class ExrRewriteAccessTest : public ::testing::Test {
protected:
    void SetUp() override { ExrFixtures::writeScanLineExr(filePath); }

    // Rewrites the frame and checks that it is a new file holding the document.
    void rewrite() {
        struct stat before, after;
        ASSERT_EQ(::stat(filePath.c_str(), &before), 0);
        ExrMetadataDestination(filePath).writeMetadata(SampleMetadata::weaponFrame());
        ASSERT_EQ(::stat(filePath.c_str(), &after), 0);
        ASSERT_NE(after.st_ino, before.st_ino);
        ASSERT_TRUE(ExrMetadataDestination(filePath).doesMetadataEntryExist());
    }

    ExrFixtures::TemporaryDirectory directory;
    const std::string filePath = directory.file("frame.exr");
};

TEST_F(ExrRewriteAccessTest, TheRewriteKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file away";
    }
    ASSERT_EQ(::chown(filePath.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(filePath.c_str(), 0640), 0);
    rewrite();
    struct stat status;
    ASSERT_EQ(::stat(filePath.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 1234u);
    EXPECT_EQ(status.st_gid, 5678u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(ExrRewriteAccessTest, TheRewriteKeepsExtendedAttributes) {
#ifdef __linux__
    const std::string value = "shot 42, approved";
    if (::setxattr(filePath.c_str(), "user.okalu.review", value.data(), value.size(), 0) != 0) {
        GTEST_SKIP() << "the file system takes no user attributes (errno " << errno << ")";
    }
    rewrite();
    char read[64] = {};
    const ssize_t length = ::getxattr(filePath.c_str(), "user.okalu.review", read, sizeof read);
    ASSERT_GE(length, 0) << "the attribute is gone";
    EXPECT_EQ(std::string(read, static_cast<std::size_t>(length)), value);
#else
    GTEST_SKIP() << "extended attributes are set here through Linux's interface";
#endif
}

TEST_F(ExrRewriteAccessTest, TheRewriteKeepsTheAccessControlList) {
#ifdef __linux__
    acl_t given = ::acl_from_text("u::rw-,u:4321:r--,g::r--,m::r--,o::---");
    ASSERT_NE(given, nullptr);
    const int set = ::acl_set_file(filePath.c_str(), ACL_TYPE_ACCESS, given);
    ::acl_free(given);
    if (set != 0) {
        GTEST_SKIP() << "the file system takes no ACLs (errno " << errno << ")";
    }
    rewrite();
    acl_t kept = ::acl_get_file(filePath.c_str(), ACL_TYPE_ACCESS);
    ASSERT_NE(kept, nullptr);
    char* text = ::acl_to_any_text(kept, nullptr, ',', TEXT_NUMERIC_IDS);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), "user::rw-,user:4321:r--,group::r--,mask::r--,other::---");
    ::acl_free(text);
    ::acl_free(kept);
#else
    GTEST_SKIP() << "ACLs are set here through Linux's interface";
#endif
}

} // namespace
